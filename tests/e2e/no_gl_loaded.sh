#!/usr/bin/env bash
# no_gl_loaded.sh PID: fails, naming them, when the process has mapped a GL
# driver: Mesa's EGL or GLX library, a DRI or Gallium driver, LLVM. The
# dispatch libraries Qt itself links (libEGL.so.1, libGLX.so.0,
# libOpenGL.so.0, libGLdispatch) load no driver by themselves and pass.
set -euo pipefail
pid=${1:?usage: $0 PID}
maps=$(cat "/proc/$pid/maps") || exit 2
found=$(awk '{ print $6 }' <<<"$maps" |
    grep -E '/(libLLVM|libgallium|libEGL_|libGLX_|libGL\.so|libgbm|libglapi)[^/]*$|_dri\.so$' | sort -u || true)
[ -z "$found" ] || {
    echo "process $pid has GL libraries loaded:"
    echo "$found"
    exit 1
}
