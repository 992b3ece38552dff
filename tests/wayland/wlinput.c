/* wlinput: a pointer and a keyboard for tests on a wlroots compositor.
 *
 * Commands come from the arguments (one command per argument, words split
 * by spaces) or, without arguments, one per line from standard input, each
 * answered by "ok" on standard output once done:
 *   move X Y          pointer to X Y of the output (absolute)
 *   click [BUTTON]    press and release left (default), right or middle
 *   press [BUTTON], release [BUTTON]
 *   key NAME          an xkb keysym name (Return, Escape, d, F5, KP_Multiply)
 *   chord MOD+..+NAME  e.g. ctrl+s, shift+Tab, ctrl+shift+z
 *   type TEXT         each character typed as its key, shifted where needed
 *   keydown NAME, keyup NAME
 * Keys are sent with the evdev/pc105/us keymap compiled by xkbcommon, so a
 * client sees the key it would see from a real keyboard. Each command is
 * confirmed by a round trip before the next. A client that runs for the
 * whole session keeps its devices, and so the seat's pointer and keyboard:
 * a program told of a new pointer makes its own only after a round trip,
 * and events sent before that are lost. Exits 1 with a message on the
 * first command it cannot carry out. */
#define _GNU_SOURCE
#include <errno.h>
#include <linux/input-event-codes.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

struct input {
    struct wl_display* display;
    struct wl_seat* seat;
    struct wl_output* output;
    struct zwlr_virtual_pointer_manager_v1* pointer_manager;
    struct zwp_virtual_keyboard_manager_v1* keyboard_manager;
    struct zwlr_virtual_pointer_v1* pointer;
    struct zwp_virtual_keyboard_v1* keyboard;
    int32_t width, height;
    struct xkb_context* context;
    struct xkb_keymap* keymap;
    struct xkb_state* state;
};

static void die(const char* what, const char* detail) {
    fprintf(stderr, "wlinput: %s%s%s\n", what, detail ? ": " : "", detail ? detail : "");
    exit(1);
}

static uint32_t now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

static void output_geometry(void* data, struct wl_output* o, int32_t x, int32_t y, int32_t pw, int32_t ph,
                            int32_t sub, const char* make, const char* model, int32_t transform) {
    (void)data, (void)o, (void)x, (void)y, (void)pw, (void)ph, (void)sub, (void)make, (void)model,
        (void)transform;
}
static void output_mode(void* data, struct wl_output* o, uint32_t flags, int32_t w, int32_t h,
                        int32_t refresh) {
    struct input* in = data;
    (void)o, (void)refresh;
    if (flags & WL_OUTPUT_MODE_CURRENT) {
        in->width = w;
        in->height = h;
    }
}
static void output_done(void* data, struct wl_output* o) {
    (void)data, (void)o;
}
static void output_scale(void* data, struct wl_output* o, int32_t f) {
    (void)data, (void)o, (void)f;
}
/* Bound at version 1: the later events (name, description) never come. */
static const struct wl_output_listener output_listener = {
    .geometry = output_geometry, .mode = output_mode, .done = output_done, .scale = output_scale};

static void global_added(void* data, struct wl_registry* reg, uint32_t name, const char* iface,
                         uint32_t version) {
    struct input* in = data;
    (void)version;
    if (strcmp(iface, wl_seat_interface.name) == 0 && !in->seat) {
        in->seat = wl_registry_bind(reg, name, &wl_seat_interface, 1);
    } else if (strcmp(iface, wl_output_interface.name) == 0 && !in->output) {
        in->output = wl_registry_bind(reg, name, &wl_output_interface, 1);
        wl_output_add_listener(in->output, &output_listener, in);
    } else if (strcmp(iface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        in->pointer_manager = wl_registry_bind(reg, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    } else if (strcmp(iface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        in->keyboard_manager = wl_registry_bind(reg, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
    }
}
static void global_removed(void* data, struct wl_registry* reg, uint32_t name) {
    (void)data, (void)reg, (void)name;
}
static const struct wl_registry_listener registry_listener = {.global = global_added,
                                                              .global_remove = global_removed};

static void sync_or_die(struct input* in) {
    if (wl_display_roundtrip(in->display) < 0) die("the compositor closed the connection", NULL);
}

/* The keymap goes to the compositor as a sealed memfd of its text. */
static void send_keymap(struct input* in) {
    struct xkb_rule_names names = {"evdev", "pc105", "us", "", ""};
    in->context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (!in->context) die("no xkb context", NULL);
    in->keymap = xkb_keymap_new_from_names(in->context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!in->keymap) die("the evdev keymap did not compile", NULL);
    in->state = xkb_state_new(in->keymap);
    char* text = xkb_keymap_get_as_string(in->keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    if (!text) die("the keymap has no text form", NULL);
    size_t size = strlen(text) + 1;
    int fd = memfd_create("wlinput-keymap", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0) die("memfd_create", strerror(errno));
    for (size_t done = 0; done < size;) {
        ssize_t n = write(fd, text + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) die("writing the keymap", strerror(errno));
        done += (size_t)n;
    }
    free(text);
    zwp_virtual_keyboard_v1_keymap(in->keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, (uint32_t)size);
    close(fd);
}

static void connect_input(struct input* in) {
    in->display = wl_display_connect(NULL);
    if (!in->display) die("cannot reach the compositor (WAYLAND_DISPLAY)", strerror(errno));
    struct wl_registry* reg = wl_display_get_registry(in->display);
    wl_registry_add_listener(reg, &registry_listener, in);
    sync_or_die(in);
    sync_or_die(in); /* the output's mode */
    if (!in->seat) die("the compositor has no seat", NULL);
    if (!in->pointer_manager) die("the compositor offers no virtual pointer", NULL);
    if (!in->keyboard_manager) die("the compositor offers no virtual keyboard", NULL);
    if (in->width <= 0 || in->height <= 0) die("the compositor reports no output size", NULL);
    in->pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(in->pointer_manager, in->seat);
    in->keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(in->keyboard_manager, in->seat);
    send_keymap(in);
    sync_or_die(in);
}

static uint32_t button_code(const char* name) {
    if (!name || strcmp(name, "left") == 0) return BTN_LEFT;
    if (strcmp(name, "right") == 0) return BTN_RIGHT;
    if (strcmp(name, "middle") == 0) return BTN_MIDDLE;
    die("unknown button", name);
    return 0;
}

static void button(struct input* in, uint32_t code, int pressed) {
    zwlr_virtual_pointer_v1_button(in->pointer, now_ms(), code,
                                   pressed ? WL_POINTER_BUTTON_STATE_PRESSED
                                           : WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(in->pointer);
}

static void move(struct input* in, const char* xs, const char* ys) {
    char *end1 = NULL, *end2 = NULL;
    long x = xs ? strtol(xs, &end1, 10) : -1;
    long y = ys ? strtol(ys, &end2, 10) : -1;
    if (!xs || !ys || *end1 || *end2 || x < 0 || y < 0 || x >= in->width || y >= in->height)
        die("move needs X and Y inside the output", xs);
    zwlr_virtual_pointer_v1_motion_absolute(in->pointer, now_ms(), (uint32_t)x, (uint32_t)y,
                                            (uint32_t)in->width, (uint32_t)in->height);
    zwlr_virtual_pointer_v1_frame(in->pointer);
}

/* Where a keysym sits in the keymap's first layout: its keycode and the
 * shift level it needs (0 plain, 1 shifted). */
struct place {
    xkb_keycode_t code;
    xkb_level_index_t level;
};

static int find_keysym(struct input* in, xkb_keysym_t sym, struct place* out) {
    xkb_keycode_t lo = xkb_keymap_min_keycode(in->keymap), hi = xkb_keymap_max_keycode(in->keymap);
    for (xkb_level_index_t level = 0; level < 2; ++level) {
        for (xkb_keycode_t code = lo; code <= hi; ++code) {
            const xkb_keysym_t* syms = NULL;
            int n = xkb_keymap_key_get_syms_by_level(in->keymap, code, 0, level, &syms);
            if (n == 1 && syms[0] == sym) {
                out->code = code;
                out->level = level;
                return 1;
            }
        }
    }
    return 0;
}

static struct place place_of_name(struct input* in, const char* name) {
    struct place p;
    xkb_keysym_t sym = xkb_keysym_from_name(name, XKB_KEYSYM_NO_FLAGS);
    if (sym == XKB_KEY_NoSymbol) sym = xkb_keysym_from_name(name, XKB_KEYSYM_CASE_INSENSITIVE);
    if (sym == XKB_KEY_NoSymbol) die("unknown key name", name);
    if (!find_keysym(in, sym, &p)) die("the keymap has no key for", name);
    return p;
}

/* A key goes to the compositor with the modifier state it leads to, so the
 * client's view of Shift and Ctrl matches the keys held. */
static void key(struct input* in, xkb_keycode_t code, int pressed) {
    xkb_state_update_key(in->state, code, pressed ? XKB_KEY_DOWN : XKB_KEY_UP);
    zwp_virtual_keyboard_v1_key(in->keyboard, now_ms(), code - 8,
                                pressed ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    zwp_virtual_keyboard_v1_modifiers(in->keyboard,
                                      xkb_state_serialize_mods(in->state, XKB_STATE_MODS_DEPRESSED),
                                      xkb_state_serialize_mods(in->state, XKB_STATE_MODS_LATCHED),
                                      xkb_state_serialize_mods(in->state, XKB_STATE_MODS_LOCKED),
                                      xkb_state_serialize_layout(in->state, XKB_STATE_LAYOUT_EFFECTIVE));
}

static const char* modifier_key(const char* word) {
    static const char* const names[][2] = {
        {"ctrl", "Control_L"}, {"control", "Control_L"}, {"shift", "Shift_L"},
        {"alt", "Alt_L"},      {"super", "Super_L"},     {"logo", "Super_L"},
    };
    for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i)
        if (strcasecmp(word, names[i][0]) == 0) return names[i][1];
    return NULL;
}

/* Presses the modifiers, the key (shifted when its symbol needs it), then
 * releases everything in reverse. */
static void chord(struct input* in, char* combo) {
    xkb_keycode_t held[8];
    int n = 0;
    char* save = NULL;
    char* last = NULL;
    for (char* word = strtok_r(combo, "+", &save); word; word = strtok_r(NULL, "+", &save)) {
        if (last) {
            const char* mod = modifier_key(last);
            if (!mod) die("not a modifier", last);
            if (n == 7) die("too many modifiers", combo);
            held[n] = place_of_name(in, mod).code;
            key(in, held[n++], 1);
        }
        last = word;
    }
    if (!last) die("chord needs a key", NULL);
    struct place p = place_of_name(in, last);
    if (p.level == 1) {
        held[n] = place_of_name(in, "Shift_L").code;
        key(in, held[n++], 1);
    }
    key(in, p.code, 1);
    key(in, p.code, 0);
    while (n > 0)
        key(in, held[--n], 0);
}

static void type_text(struct input* in, const char* text) {
    /* Plain ASCII only: a test types names and words, nothing more. */
    for (const char* c = text; *c; ++c) {
        if ((unsigned char)*c >= 0x80) die("type takes ASCII text", text);
        xkb_keysym_t sym = xkb_utf32_to_keysym((uint32_t)(unsigned char)*c);
        if (*c == '\n') sym = XKB_KEY_Return;
        if (*c == '\t') sym = XKB_KEY_Tab;
        char name[64];
        if (sym == XKB_KEY_NoSymbol || xkb_keysym_get_name(sym, name, sizeof name) <= 0)
            die("no key for a character of", text);
        chord(in, name);
    }
}

/* Runs one command line; its words are split on spaces, "type" takes the
 * rest of the line as its text. */
static void run(struct input* in, char* line) {
    line[strcspn(line, "\r\n")] = '\0';
    char* save = NULL;
    char* verb = strtok_r(line, " ", &save);
    if (!verb || verb[0] == '#') return;
    if (strcmp(verb, "type") == 0) {
        type_text(in, save ? save : "");
    } else {
        char* a = strtok_r(NULL, " ", &save);
        char* b = strtok_r(NULL, " ", &save);
        if (strcmp(verb, "move") == 0) {
            move(in, a, b);
        } else if (strcmp(verb, "click") == 0) {
            button(in, button_code(a), 1);
            button(in, button_code(a), 0);
        } else if (strcmp(verb, "press") == 0 || strcmp(verb, "release") == 0) {
            button(in, button_code(a), verb[0] == 'p');
        } else if (strcmp(verb, "key") == 0 || strcmp(verb, "chord") == 0) {
            if (!a) die("needs a key name:", verb);
            chord(in, a);
        } else if (strcmp(verb, "keydown") == 0 || strcmp(verb, "keyup") == 0) {
            if (!a) die("needs a key name:", verb);
            key(in, place_of_name(in, a).code, strcmp(verb, "keydown") == 0);
        } else {
            die("unknown command", verb);
        }
    }
    sync_or_die(in);
}

int main(int argc, char** argv) {
    struct input in = {0};
    connect_input(&in);
    if (argc > 1) {
        for (int i = 1; i < argc; ++i)
            run(&in, argv[i]);
    } else {
        char* line = NULL;
        size_t cap = 0;
        while (getline(&line, &cap, stdin) >= 0) {
            run(&in, line);
            /* Told once the compositor has the events, so a caller can
             * wait for the answer rather than for a while. */
            puts("ok");
            fflush(stdout);
        }
        free(line);
    }
    zwp_virtual_keyboard_v1_destroy(in.keyboard);
    zwlr_virtual_pointer_v1_destroy(in.pointer);
    wl_display_roundtrip(in.display);
    wl_display_disconnect(in.display);
    xkb_state_unref(in.state);
    xkb_keymap_unref(in.keymap);
    xkb_context_unref(in.context);
    return 0;
}
