#!/usr/bin/env bash
# Many documents through folivox-cli batch, against one big document through
# publish, on the same machine in one run: pages per second, documents per
# core-hour and peak memory per job, for sizing a job system.
#
#   bench/batch_bench.sh [BUILD_DIR]
#
# The 200 documents: generated text-heavy PDFs of 1 to 12 letter pages, text
# documents of one to three pages, copies of the program's manual, folders of
# its demonstration pictures, and 10 % damaged ones (cut short, not a PDF,
# empty). The big document is one generated PDF with as many pages as all the
# small generated PDFs together; "small PDFs" runs those through batch, so the
# two publish the same kind of page. Runs:
#   big        folivox-cli publish big.pdf --jobs 2
#   small PDFs folivox-cli batch --jobs 2 (one render thread each)
#   all 200    folivox-cli batch --jobs 2, then again with --skip-done
#   --jobs 1   the small PDFs one at a time with two render threads (JOBS1=0 leaves it out)
#   parallel   GNU parallel -j 2 running folivox-cli publish --jobs 1, when installed
# The comparisons run ROUNDS times (2), in turn, and the best wall time of each
# counts: on a shared machine the load changes under a long run.
# Environment: SEED (1) for the generated documents, ROUNDS, KEEP=1 keeps the work folder.
set -euo pipefail

BUILD=${1:-build}
CLI=$(cd "$BUILD/bin" && pwd)/folivox-cli
RES=$(cd "$BUILD/share/folivox" && pwd)
SEED=${SEED:-1}
JOBS1=${JOBS1:-1}
ROUNDS=${ROUNDS:-2}
[ -x "$CLI" ] || { echo "missing $CLI: build folivox-cli" >&2; exit 1; }
for tool in python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool (apt install python3 time)" >&2; exit 1; }
done

work=$(mktemp -d /tmp/folivox-batch-bench-XXXXXX)
[ "${KEEP:-0}" = 1 ] || trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in"
cd "$work"

# The documents and the lists; prints the number of pages in the big one.
python3 - "$RES" "$SEED" <<'EOF' > bigpages
import os, random, shutil, sys
res, seed = sys.argv[1], int(sys.argv[2])
rnd = random.Random(seed)
words = ("page flip book archive issue manual chapter section figure table note index reader "
         "publisher magazine print column margin letter report summary method result value "
         "the of and to in for with on by from as at").split()

def line():
    return " ".join(rnd.choice(words) for _ in range(rnd.randint(8, 13)))

def pdf(path, pages):
    # Letter pages of Helvetica text, 45 lines each, as a text-heavy document.
    objs = ["<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>", None]  # 1 font, 2 pages
    kids = []
    for _ in range(pages):
        text = "BT /F1 10 Tf 12 TL 60 740 Td " + " ".join(
            "(%s) '" % line() for _ in range(45)) + " ET"
        objs.append("<< /Length %d >>\nstream\n%s\nendstream" % (len(text), text))
        content = len(objs)
        objs.append("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] "
                    "/Resources << /Font << /F1 1 0 R >> >> /Contents %d 0 R >>" % content)
        kids.append(len(objs))
    objs[1] = "<< /Type /Pages /Kids [%s] /Count %d >>" % (" ".join("%d 0 R" % k for k in kids), pages)
    objs.append("<< /Type /Catalog /Pages 2 0 R >>")
    out = b"%PDF-1.7\n"
    offsets = []
    for i, body in enumerate(objs):
        offsets.append(len(out))
        out += b"%d 0 obj\n%s\nendobj\n" % (i + 1, body.encode())
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objs) + 1)
    out += b"".join(b"%010d 00000 n \n" % o for o in offsets)
    out += b"trailer\n<< /Size %d /Root %d 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objs) + 1, len(objs), xref)
    with open(path, "wb") as f:
        f.write(out)
    return out

small, everything, pdfpages = [], [], 0
for i in range(120):
    n = rnd.randint(1, 12)
    pdfpages += n
    name = "in/gen-%03d.pdf" % i
    pdf(name, n)
    small.append(name)
for i in range(30):
    name = "in/text-%03d.txt" % i
    with open(name, "w") as f:
        f.write("\n\n".join(" ".join(line() for _ in range(rnd.randint(1, 4))) for _ in range(rnd.randint(10, 60))))
    everything.append(name)
for i in range(20):
    name = "in/manual-%03d.pdf" % i
    shutil.copy(os.path.join(res, "Folivox Manual.pdf"), name)
    everything.append(name)
for i in range(10):
    name = "in/pictures-%03d" % i
    shutil.copytree(os.path.join(res, "DemoImgs"), name)
    everything.append(name)
for i in range(20):
    name = "in/damaged-%03d.%s" % (i, "txt" if i % 3 == 2 else "pdf")
    with open(name, "wb") as f:
        if i % 3 == 0:
            f.write(open(small[i], "rb").read()[: 300 + 7 * i])   # cut short
        elif i % 3 == 1:
            f.write(bytes(rnd.getrandbits(8) for _ in range(4096)))  # not a PDF
        # else: empty
    everything.append(name)
everything += small
rnd.shuffle(everything)
open("small.list", "w").write("\n".join(small) + "\n")
open("all.list", "w").write("\n".join(everything) + "\n")
pdf("big.pdf", pdfpages)
print(pdfpages)
EOF
bigpages=$(cat bigpages)
cat in/* big.pdf > /dev/null 2>&1 || true  # warm the page cache for every run alike

# timed NAME COMMAND...: wall seconds and peak memory into time.NAME.
timed() {
  local name=$1
  shift
  /usr/bin/time -f '%e %M' -o "time.$name" "$@" > "out.$name" 2> "err.$name" || true
}

# The batch's own memory (not its children's), sampled while it runs.
watch_batch() {
  local peak=0
  while kill -0 "$1" 2>/dev/null; do
    local hwm
    hwm=$(awk '/^VmHWM/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0)
    [ "${hwm:-0}" -gt "$peak" ] && peak=$hwm
    sleep 0.2
  done
  echo "$peak"
}

# The comparisons, ROUNDS times in turn so that a change in the machine's
# load falls on all of them alike; the best wall time of each counts.
one_round() {
  rm -rf out-big && timed "big.$1" "$CLI" publish big.pdf -o out-big --jobs 2
  rm -rf out-small && timed "small.$1" "$CLI" batch small.list -o out-small --jobs 2 --json
  if command -v parallel >/dev/null; then
    rm -rf out-par && timed "parallel.$1" parallel -j 2 "$CLI" publish {} -o out-par/{/.} --jobs 1 :::: small.list
  fi
  if [ "$JOBS1" = 1 ]; then
    rm -rf out-one && timed "one.$1" "$CLI" batch small.list -o out-one --jobs 1 --json
  fi
}
for round in $(seq "$ROUNDS"); do one_round "$round"; done

rm -rf out-all
start=$(date +%s.%N)
"$CLI" batch all.list -o out-all --jobs 2 --json > out.all 2> err.all &
batch_pid=$!
batch_peak=$(watch_batch "$batch_pid")
wait "$batch_pid" || true
echo "$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }') 0" > time.all
timed again "$CLI" batch all.list -o out-all --jobs 2 --json --skip-done

python3 - "$bigpages" "$(nproc)" "$batch_peak" "$ROUNDS" <<'EOF'
import json, statistics, sys
bigpages, cores, batch_peak, rounds = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
def wall(name):
    # The best of the rounds (time.NAME.1, time.NAME.2, ...), or the one run.
    import glob
    times = []
    for path in glob.glob("time." + name + ".*") or ["time." + name]:
        try:
            times.append((float(open(path).read().split()[-2]), path[len("time."):]))
        except (OSError, IndexError, ValueError):
            pass
    return min(times)[0] if times else None
def best(name):
    import glob
    paths = glob.glob("time." + name + ".*")
    return min(paths, key=lambda p: float(open(p).read().split()[-2]))[len("time."):] if paths else name
def lines(name):
    return [json.loads(l) for l in open("out." + best(name)) if l.startswith("{")]

big = wall("big")
rows = [("one big PDF: publish --jobs 2", bigpages, 1, big, None)]
def batch_row(label, name):
    docs = lines(name)
    ok = [d for d in docs if d["status"] == "ok"]
    rows.append((label, sum(d["pages"] for d in ok), len(ok), wall(name), docs))
batch_row("120 small PDFs: batch --jobs 2", "small")
all_docs = lines("all")
batch_row("all 200 (10 % damaged): batch --jobs 2", "all")
if wall("one") is not None:
    batch_row("120 small PDFs: batch --jobs 1 (2 threads)", "one")
if wall("parallel") is not None:
    rows.append(("120 small PDFs: GNU parallel -j 2 publish --jobs 1", rows[1][1], 120, wall("parallel"), None))

print("Machine: %d cores, shared with other work; best of %s rounds taken in turn.\n" % (cores, rounds))
print("| run | documents | pages | wall s | pages/s | vs one big PDF |")
print("|---|---|---|---|---|---|")
for label, pages, docs, w, _ in rows:
    print("| %s | %d | %d | %.1f | %.1f | %.2f |" % (label, docs, pages, w, pages / w, (pages / w) / (bigpages / big)))

status = {}
for d in all_docs:
    status[d["status"]] = status.get(d["status"], 0) + 1
again = lines("again")
skipped = sum(1 for d in again if d["status"] == "skipped")
print("\nAll 200: %s; again with --skip-done: %d skipped in %.1f s." %
      (", ".join("%d %s" % (n, s) for s, n in sorted(status.items())), skipped, wall("again")))

peaks = [d["peak_memory_kb"] for d in all_docs if d.get("peak_memory_kb")]
first, second = peaks[: len(peaks) // 2], peaks[len(peaks) // 2 :]
ok = [d for d in all_docs if d["status"] == "ok"]
pages_all = sum(d["pages"] for d in ok)
w = wall("all")
print("\nPeak memory of one job (its publish process): median %.0f MB, largest %.0f MB;"
      " largest in the first half of the run %.0f MB, in the second %.0f MB. The batch process itself: %.0f MB."
      % (statistics.median(peaks) / 1024, max(peaks) / 1024, max(first) / 1024, max(second) / 1024, batch_peak / 1024))
print("\n| sizing (from all 200) | per core-hour |")
print("|---|---|")
print("| documents (mean %.1f pages) | %.0f |" % (pages_all / len(ok), len(all_docs) / w * 3600 / cores))
print("| pages | %.0f |" % (pages_all / w * 3600 / cores))
print("| memory per job (largest seen) | %.0f MB |" % (max(peaks) / 1024))
EOF
