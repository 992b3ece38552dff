#!/bin/bash
# Prints the program-level figures the benchmarks wrote (FIGURES, "name=value"
# lines, the last line of a name counting) as one table beside their goals
# (GOALS, bench/goals.txt). "@program=status" lines say how each benchmark
# program ended, so a missing figure can say why it is missing. The table only
# informs: its exit status does not depend on any figure.
# Usage: bench/summary.sh FIGURES [GOALS]
set -u
here=$(cd "$(dirname "$0")" && pwd)
figures=${1:?usage: summary.sh FIGURES [GOALS]}
goals=${2:-$here/goals.txt}
[ -r "$goals" ] || { echo "summary: cannot read $goals" >&2; exit 2; }
[ -r "$figures" ] || figures=/dev/null # every figure then shows why it is missing

awk -F'|' -v figures="$figures" '
function trim(s) { gsub(/^[ \t]+|[ \t]+$/, "", s); return s }
function numeric(s) { return s ~ /^-?[0-9]+(\.[0-9]*)?([eE][-+]?[0-9]+)?$/ }
function show(v,   a) {
    a = v < 0 ? -v : v
    if (a >= 100) return sprintf("%.0f", v)
    if (a >= 10) return sprintf("%.1f", v)
    if (a >= 0.01 || a == 0) return sprintf("%.2f", v)
    return sprintf("%.2g", v)
}
function with_unit(v, unit) { return unit ~ /^\// ? v unit : v " " unit }
function holds(v, test,   op, limit) {
    op = test; sub(/[ \t]*-?[0-9.].*$/, "", op)
    limit = test; sub(/^[^-0-9.]*/, "", limit); limit += 0
    if (op == "<") return v < limit
    if (op == "<=") return v <= limit
    if (op == ">") return v > limit
    if (op == ">=") return v >= limit
    return -1
}
function row(label, name, unit, test, goal, from,   v, why) {
    ++rows
    L[rows] = label; G[rows] = goal
    if (name in value && numeric(value[name])) {
        v = value[name] + 0
        M[rows] = with_unit(show(v), unit)
        R[rows] = holds(v, test) == 1 ? "met" : holds(v, test) == 0 ? "missed" : "bad goal: " test
        return
    }
    M[rows] = "not measured"
    if (name in value) { why = value[name]; sub(/^not measured: */, "", why) }
    else if (!(from in status)) why = from " did not run"
    else if (status[from] != 0) why = from " failed (exit " status[from] ")"
    else why = from " wrote no figure"
    R[rows] = why
}
BEGIN {
    while ((getline line < figures) > 0) {
        eq = index(line, "=")
        if (eq == 0) continue
        name = substr(line, 1, eq - 1); v = substr(line, eq + 1)
        if (name ~ /^@/) { status[substr(name, 2)] = v; continue }
        if (!(name in value)) order[++names] = name
        value[name] = v
    }
}
/^[ \t]*(#|$)/ { next }
{
    name = trim($1); label = trim($2); unit = trim($3); test = trim($4); goal = trim($5); from = trim($6)
    if (index(name, "*") == 0) { row(label, name, unit, test, goal, from); next }
    star = index(name, "*"); head = substr(name, 1, star - 1); tail = substr(name, star + 1)
    found = 0
    for (i = 1; i <= names; ++i) {
        n = order[i]
        if (length(n) < length(head) + length(tail)) continue
        if (substr(n, 1, length(head)) != head || substr(n, length(n) - length(tail) + 1) != tail) continue
        part = substr(n, length(head) + 1, length(n) - length(head) - length(tail))
        gsub(/_/, " ", part)
        l = label; sub(/\*/, part, l)
        row(l, n, unit, test, goal, from); found = 1
    }
    if (!found) { l = label; sub(/\*/, "(each)", l); row(l, name, unit, test, goal, from) }
}
END {
    wl = length("figure"); wm = length("measured"); wg = length("goal")
    for (i = 1; i <= rows; ++i) {
        if (length(L[i]) > wl) wl = length(L[i])
        if (length(M[i]) > wm) wm = length(M[i])
        if (length(G[i]) > wg) wg = length(G[i])
    }
    fmt = "%-" wl "s  %-" wm "s  %-" wg "s  %s\n"
    print ""
    print "Program-level figures (goals in bench/goals.txt; they only inform, nothing fails on them)"
    printf fmt, "figure", "measured", "goal", "result"
    rule = sprintf("%" (wl + wm + wg + 6 + 6) "s", ""); gsub(/ /, "-", rule); print rule
    for (i = 1; i <= rows; ++i) printf fmt, L[i], M[i], G[i], R[i]
}' "$goals"
