# Reads the clock probe's log and prints, for each scene after the loading card,
# what its first frame cost against the median of its frames:
#   scene first_cpu_ms median_cpu_ms frames
# A frame's cost is the CPU time the demo used from the swap before it to its own
# swap: a shader build costs CPU, while other programs taking the cores (which make
# any frame late on a busy machine) do not.
BEGIN {
    # The first millisecond of scenes 1 to 9, from the timeline.
    split("5000 34750 47220 61880 90330 118770 147220 175660 189880", starts, " ")
}
function sceneOf(t,    s) {
    for (s = 9; s >= 1; s--) if (t >= starts[s]) return s
    return 0
}
$1 == "swap" {
    if (haveLast && $3 >= 0) {
        s = sceneOf($3)
        took = $4 - lastCpu
        n[s]++
        times[s, n[s]] = took
        if (n[s] == 1) first[s] = took
    }
    lastCpu = $4
    haveLast = 1
}
END {
    for (s = 1; s <= 9; s++) {
        if (n[s] == 0) { printf "%d none 0 0\n", s; continue }
        # Insertion sort of the scene's frame times for the median.
        for (i = 1; i <= n[s]; i++) sorted[i] = times[s, i]
        for (i = 2; i <= n[s]; i++) {
            v = sorted[i]
            for (j = i - 1; j >= 1 && sorted[j] > v; j--) sorted[j + 1] = sorted[j]
            sorted[j + 1] = v
        }
        median = n[s] % 2 ? sorted[(n[s] + 1) / 2] : (sorted[n[s] / 2] + sorted[n[s] / 2 + 1]) / 2
        printf "%d %.1f %.1f %d\n", s, first[s], median, n[s]
    }
}
