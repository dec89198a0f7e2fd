# Turns bench_driver's sample lines into bench/run's Markdown table.
#   start_update MS KIB | start_minimal MS KIB | run_update MB MS KIB | run_plain MB MS
#   and, on the disk: disk_run_update MB MS KIB | disk_run_plain MB MS | disk_run_durable MB MS
#   start_update_required MS | start_required MS | step N MS NAME...

function sorted(key, values, n, i, j, v) {
    n = count[key]
    for (i = 1; i <= n; i++)
        values[i] = sample[key, i]
    for (i = 2; i <= n; i++) {
        v = values[i]
        for (j = i - 1; j >= 1 && values[j] > v; j--)
            values[j + 1] = values[j]
        values[j + 1] = v
    }
    return n
}
function median(key, values, n) {
    n = sorted(key, values)
    return n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
}
function low(key, values) { sorted(key, values); return values[1] }
function high(key, values) { return values[sorted(key, values)] }
function add(key, value) { sample[key, ++count[key]] = value }
# "45.1 ms (41.0–52.3)": the median and the spread of the runs.
function timing(key) {
    return sprintf("%.1f ms (%.1f–%.1f)", median(key), low(key), high(key))
}
function verdict(ok) { return ok ? "met" : "missed" }
function row(figure, mine, baseline, ratio, target, result) {
    printf "| %s | %s | %s | %s | %s | %s |\n", figure, mine, baseline, ratio, target, result
}

$1 == "start_update" { add("start_update", $2); add("shown_update_kib", $3) }
$1 == "start_minimal" { add("start_minimal", $2); add("shown_minimal_kib", $3) }
$1 == "run_update" {
    if (!seen[$2]++)
        sizes[++n_sizes] = $2
    add("update " $2, $3)
    add("peak " $2, $4)
}
$1 == "run_plain" { add("plain " $2, $3) }
$1 == "disk_run_update" { add("disk update", $3); disk_mb = $2 }
$1 == "disk_run_plain" { add("disk plain", $3) }
$1 == "disk_run_durable" { add("disk durable", $3) }
$1 == "start_update_required" { add("start_update_required", $2) }
$1 == "start_required" { add("start_required", $2) }
# One run's marks come in order, from step 0: each step's time is its end's
# less the previous step's end (process start for step 0).
$1 == "step" {
    if ($2 == 0)
        previous_end = 0
    name = $0
    sub(/^step [0-9]+ [^ ]+ /, "", name)
    step_name[$2] = name
    if ($2 + 1 > n_steps)
        n_steps = $2 + 1
    add("step " $2, $3 - previous_end)
    add("step end " $2, $3)
    previous_end = $3
}

function required_row(ratio) {
    if (!count["start_required"])
        return
    ratio = median("start_update_required") / median("start_required")
    row("start-up against the required work: process start to the dialog visible, " start_runs " runs",
        timing("start_update_required"),
        timing("start_required") ", the dialog's required work (bench/RequiredDialog.cpp)",
        sprintf("%.2fx", ratio), "≤ 1.05x", verdict(ratio <= 1.05))
}

# Update.exe's own start, timed inside its bench build: a second table.
function breakdown(i) {
    if (!n_steps)
        return
    print ""
    print "| Update.exe's start-up, step by step (bench build, " count["step 0"] " runs) | median | min–max | median end, from process start |"
    print "|---|---|---|---|"
    for (i = 0; i < n_steps; i++)
        printf "| %s | %.2f ms | %.2f–%.2f | %.1f ms |\n", (i == 0 ? "process start to " : "") step_name[i],
            median("step " i), low("step " i), high("step " i), median("step end " i)
}

END {
    print "| figure | Update.exe | baseline | ratio | target | |"
    print "|---|---|---|---|---|---|"

    ratio = median("start_update") / median("start_minimal")
    row("start-up: process start to the dialog visible, " start_runs " runs",
        timing("start_update"), timing("start_minimal") ", one empty window",
        sprintf("%.2fx", ratio), "≤ 1.15x", verdict(ratio <= 1.15))
    required_row()

    for (i = 1; i <= n_sizes; i++) {
        mb = sizes[i]
        ratio = median("update " mb) / median("plain " mb)
        per_mb[i] = median("update " mb) / (5 * mb)
        plain_per_mb[i] = median("plain " mb) / (5 * mb)
        target = mb == 64 ? "≤ 1.05x" : ""
        result = mb == 64 ? verdict(ratio <= 1.05) : ""
        row("a whole run: 実　行 to 閉じる, 5 × " mb " MB, " runs (runs == 1 ? " run" : " runs"),
            timing("update " mb), timing("plain " mb) ", plain program: 5 × CopyFileA",
            sprintf("%.2fx", ratio), target, result)
    }

    mine = ""; theirs = ""; fastest = 0; slowest = 0
    for (i = 1; i <= n_sizes; i++) {
        mine = mine (i > 1 ? " / " : "") sprintf("%.2f", per_mb[i])
        theirs = theirs (i > 1 ? " / " : "") sprintf("%.2f", plain_per_mb[i])
        if (i == 1 || per_mb[i] < fastest) fastest = per_mb[i]
        if (i == 1 || per_mb[i] > slowest) slowest = per_mb[i]
    }
    sizes_text = ""
    for (i = 1; i <= n_sizes; i++)
        sizes_text = sizes_text (i > 1 ? " / " : "") sizes[i]
    if (n_sizes > 0) {
        ratio = slowest / fastest
        row("time per MB, " sizes_text " MB", mine " ms", theirs " ms (plain program)",
            sprintf("%.2fx slowest/fastest", ratio), "flat within 10 %",
            n_sizes > 1 ? verdict(ratio <= 1.10) : "one size only")

        # What the run adds to the copies: a fixed amount shows as time per MB
        # that falls as the files grow.
        mine = ""
        for (i = 1; i <= n_sizes; i++)
            mine = mine (i > 1 ? " / " : "") sprintf("%.1f", median("update " sizes[i]) - median("plain " sizes[i]))
        row("Update.exe's time over the plain program's, " sizes_text " MB", mine " ms", "", "", "", "")

        mine = ""; smallest = 0; largest = 0
        for (i = 1; i <= n_sizes; i++) {
            peak = median("peak " sizes[i])
            mine = mine (i > 1 ? " / " : "") sprintf("%d", peak)
            if (i == 1 || peak < smallest) smallest = peak
            if (i == 1 || peak > largest) largest = peak
        }
        ratio = largest / smallest
        row("peak working set after the run, " sizes_text " MB", mine " KiB", "",
            sprintf("%.2fx largest/smallest", ratio), "independent of file size",
            n_sizes > 1 ? verdict(ratio <= 1.05) : "one size only")

        finished = median("peak " sizes[n_sizes])
        shown = median("shown_minimal_kib")
        ratio = finished / shown
        row("peak working set: Update.exe finished (" sizes[n_sizes] " MB), minimal window shown",
            sprintf("%d KiB", finished), sprintf("%d KiB", shown), sprintf("%.2fx", ratio),
            "≤ 1.3x", verdict(ratio <= 1.3))
    }

    row("release Update.exe (i686, stripped)",
        sprintf("%d bytes (%.1f KiB)", release_size, release_size / 1024),
        sprintf("%d bytes, minimal window", minimal_size),
        sprintf("%.2fx", release_size / minimal_size), "≤ 150 KiB",
        verdict(release_size <= 150 * 1024))

    if (count["disk update"] > 0) {
        figure = "a whole run on the disk: 5 × " disk_mb " MB, " runs (runs == 1 ? " run" : " runs")
        ratio = median("disk update") / median("disk durable")
        row(figure, timing("disk update"),
            timing("disk durable") ", durable floor: 5 × CopyFileA, FlushFileBuffers, MoveFileExA",
            sprintf("%.2fx", ratio), "≤ 1.10x", verdict(ratio <= 1.10))
        row(figure, timing("disk update"), timing("disk plain") ", plain program: 5 × CopyFileA",
            sprintf("%.2fx", median("disk update") / median("disk plain")), "", "")
        flushes = median("disk durable") - median("disk plain")
        row("what the flushes cost on the disk: durable floor less plain copies, 5 × " disk_mb " MB",
            sprintf("%.1f ms (%.1f ms per file, %.2f ms per MB)", flushes, flushes / 5,
                    flushes / (5 * disk_mb)), "", "", "", "")
    }
    breakdown()
}
