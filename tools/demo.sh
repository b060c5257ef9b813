#!/usr/bin/env bash
# Shows quarn.spi at work on real archives: builds a small tree of files,
# packs it with the real 7z, zip and tar packers, then lists and extracts
# every archive through the plug-in with spihost, the way a viewer drives it,
# and compares every extracted byte with the original file.
#
#   tools/demo.sh BUILD_DIR
#
# Expects WINEPREFIX (and WINEDEBUG) exported, and BUILD_DIR holding
# quarn.spi, tools/spihost/spihost.exe and tools/wine-tar/tar.exe.
# Exits 0 only when every archive lists and extracts exactly its files.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: tools/demo.sh BUILD_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
built_plugin=$build/quarn.spi
spihost_exe=$build/tools/spihost/spihost.exe
tar_exe=$build/tools/wine-tar/tar.exe
for file in "$built_plugin" "$spihost_exe" "$tar_exe"; do
  if [ ! -f "$file" ]; then
    echo "demo: $file is missing; build first" >&2
    exit 2
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quarn-demo.XXXXXX")
trap 'rm -rf "$work"' EXIT

say() { printf '== %s\n' "$*"; }

windows_path() { winepath -w "$1" 2>/dev/null; }

# Code page 932 for the plug-in, as on a Japanese Windows; LC_ALL would
# override LANG, so it is cleared.
spihost() { LC_ALL='' LC_CTYPE='' LANG=ja_JP.UTF-8 wine "$spihost_exe" "$@"; }

# `bytes` random bytes into `file`.
random_file() {
  local file=$1 bytes=$2
  mkdir -p "$(dirname "$file")"
  head -c "$bytes" /dev/urandom >"$file"
}

# Folders with brackets, spaces and Japanese names (all in code page 932),
# equal names in two folders, files from 2015 and from now, empty files and
# an empty folder, which no listing may show.
make_sample() {
  local root=$1
  mkdir -p "$root"
  random_file "$root/[Author] Title/page 01.png" 3000
  random_file "$root/[Author] Title/page 02.png" 2500
  random_file "$root/[Author] Title/cover.jpg" 1536
  random_file "$root/写真/桜.jpg" 4096
  random_file "$root/写真/cover.jpg" 1000
  random_file "$root/写真/古い/富士山.jpg" 2048
  random_file "$root/my notes/read me.txt" 700
  random_file "$root/deep/a/b/c/deep.bin" 5000
  : >"$root/empty.txt"
  : >"$root/deep/a/empty.dat"
  mkdir -p "$root/empty folder"
  touch -d 2015-03-04 "$root/[Author] Title/page 01.png" "$root/写真/古い/富士山.jpg" "$root/deep/a/b/c/deep.bin"
}

# The packers store the names as UTF-8 only under a UTF-8 locale.
pack_archives() {
  local root=$1 into=$2
  mkdir -p "$into"
  (cd "$root" && LC_ALL=C.UTF-8 7zz a -bso0 -bsp0 "$into/sample.7z" .)
  (cd "$root" && LC_ALL=C.UTF-8 zip -q -r "$into/sample.zip" .)
  (cd "$root" && LC_ALL=C.UTF-8 bsdtar -czf "$into/sample.tar.gz" -- *)
}

# A copy of the plug-in with its settings beside it. The settings file is
# UTF-16 with a byte order mark, the one encoding the profile reader takes
# for any path on every Windows. The patterns add zip and tar.gz to the
# default 7z and rar.
install_plugin() {
  local folder=$1
  mkdir -p "$folder"
  cp "$built_plugin" "$folder/quarn.spi"
  local tool_folder
  tool_folder=$(windows_path "$(dirname "$tar_exe")")
  {
    printf '\xff\xfe'
    printf '[UserSetting]\r\ndir=%s\r\next=*.7z,*.rar,*.zip,*.tar.gz\r\n' "$tool_folder" | iconv -f UTF-8 -t UTF-16LE
  } >"$folder/quarn.ini"
}

sample=$work/sample
archives=$work/archives
results=$work/results
make_sample "$sample"
pack_archives "$sample" "$archives"
install_plugin "$work/plugin"
plugin=$(windows_path "$work/plugin/quarn.spi")
mkdir -p "$results"

say "plug-in information"
spihost info "$plugin" || true

# Each archive through the W exports into memory and into files, and through
# the narrow exports into memory.
modes=("W memory" "W file" "narrow memory")
for archive in sample.7z sample.zip sample.tar.gz; do
  archive_windows=$(windows_path "$archives/$archive")
  say "$archive"
  spihost list "$plugin" "$archive_windows" || true
  for mode in "${modes[@]}"; do
    read -r exports output <<<"$mode"
    options=(--json)
    [ "$exports" = narrow ] && options+=(--narrow)
    extract_options=("${options[@]}")
    [ "$output" = file ] && extract_options+=(--to-file)
    run=$results/$archive.$exports.$output
    out=$work/out/$archive.$exports.$output
    mkdir -p "$out"
    status=0
    spihost "${options[@]}" list "$plugin" "$archive_windows" >"$run.list.json" || status=$?
    echo "$status" >"$run.list.status"
    status=0
    spihost "${extract_options[@]}" extract "$plugin" "$archive_windows" "$(windows_path "$out")" \
      >"$run.extract.json" || status=$?
    echo "$status" >"$run.extract.status"
  done
done

say "results"
python3 - "$sample" "$archives" "$results" "$work/out" "${modes[@]}" <<'PYTHON'
"""Checks each listing and extraction against the sample tree."""
import json
import os
import subprocess
import sys

sample, archives, results, outputs = sys.argv[1:5]
modes = sys.argv[5:]
ARCHIVES = ["sample.7z", "sample.zip", "sample.tar.gz"]


def archive_order(archive):
    """Member names in the order the archive holds them, as bsdtar lists them."""
    listing = subprocess.run(
        ["bsdtar", "-tf", archive], check=True, capture_output=True,
        env=dict(os.environ, LC_ALL="C.UTF-8")).stdout.decode("utf-8")
    return [line.rstrip("/") for line in listing.split("\n") if line]


def expected_members(archive):
    """The regular, non-empty files of the archive, in its order."""
    members = []
    for name in archive_order(archive):
        path = os.path.join(sample, name)
        if os.path.isfile(path) and not os.path.islink(path) and os.path.getsize(path) > 0:
            members.append(name)
    return members


def expected_bytes(expected):
    return sum(os.path.getsize(os.path.join(sample, name)) for name in expected)


def load(path):
    try:
        with open(path, encoding="utf-8") as text:
            return json.load(text)
    except (OSError, ValueError) as error:
        return {"error": "no JSON from spihost (%s)" % error, "entries": []}


def read_bytes(path):
    try:
        with open(path, "rb") as data:
            return data.read()
    except OSError:
        return None


def match_entries(entries, expected, problems):
    """Pairs each listed entry with the sample file it stands for.

    Positions follow the archive's order, so the entries sorted by position
    meet the expected files in the same order; an entry is matched to the
    next expected file of its name, and expected files passed over are missing.
    """
    pairs = []
    following = 0
    previous = None
    for entry in sorted(entries, key=lambda e: e["position"]):
        if previous is not None and entry["position"] == previous:
            problems.append("position %d listed twice" % entry["position"])
        previous = entry["position"]
        found = next((i for i in range(following, len(expected))
                      if os.path.basename(expected[i]) == entry["filename"]), None)
        if found is None:
            problems.append("unexpected entry %d %s" % (entry["position"], entry["filename"]))
            continue
        problems.extend("not listed: %s" % name for name in expected[following:found])
        pairs.append((entry, expected[found]))
        following = found + 1
    problems.extend("not listed: %s" % name for name in expected[following:])
    return pairs


def check_time(entry, name, archive, problems):
    """Every record carries the archive file's own last-write time."""
    if entry["timestamp"] != int(os.path.getmtime(os.path.join(archives, archive))):
        problems.append("%s listed at %s, not at the archive's time" % (name, entry["time"]))


def extracted_path(out, output, entry):
    if output == "file":
        return os.path.join(out, str(entry["position"]), entry["filename"])
    return os.path.join(out, "%d_%s" % (entry["position"], entry["filename"]))


def check_run(archive, exports, output, expected):
    run = os.path.join(results, "%s.%s.%s" % (archive, exports, output))
    out = os.path.join(outputs, "%s.%s.%s" % (archive, exports, output))
    problems = []
    listing = load(run + ".list.json")
    extraction = load(run + ".extract.json")
    for step, document in (("list", listing), ("extract", extraction)):
        with open("%s.%s.status" % (run, step)) as status:
            code = int(status.read())
        if "error" in document:
            problems.append("%s: %s" % (step, document["error"]))
        elif code != 0:
            problems.append("spihost %s exited with %d" % (step, code))

    entries = listing.get("entries", [])
    if problems and not entries:
        # Nothing was listed: every file missing would only repeat that.
        return [archive, exports, output, "0", str(len(expected)), "0/%d" % expected_bytes(expected),
                "FAILED"], problems
    listed = [(e["position"], e["filename"]) for e in entries]
    if listed != [(e["position"], e["filename"]) for e in extraction.get("entries", [])]:
        problems.append("extract listed other entries than list")

    verified = 0
    for entry, name in match_entries(entries, expected, problems):
        original = os.path.join(sample, name)
        want = read_bytes(original)
        if entry["filesize"] != len(want):
            problems.append("%s listed with %d bytes, has %d" % (name, entry["filesize"], len(want)))
        check_time(entry, name, archive, problems)
        got = read_bytes(extracted_path(out, output, entry))
        if got is None:
            problems.append("%s not extracted" % name)
        elif got != want:
            problems.append("%s extracted with other bytes (%d of %d)" % (name, len(got), len(want)))
        else:
            verified += len(got)
    return [archive, exports, output, str(len(entries)), str(len(expected)),
            "%d/%d" % (verified, expected_bytes(expected)), "ok" if not problems else "FAILED"], problems


def print_table(rows):
    widths = [max(len(row[i]) for row in rows) for i in range(len(rows[0]))]
    for row in rows:
        print("  ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip())


rows = [["archive", "exports", "output", "listed", "expected", "bytes verified", "result"]]
all_problems = []
for archive in ARCHIVES:
    expected = expected_members(os.path.join(archives, archive))
    for mode in modes:
        exports, output = mode.split()
        row, problems = check_run(archive, exports, output, expected)
        rows.append(row)
        all_problems.extend("%s (%s, %s): %s" % (archive, exports, output, p) for p in problems)

print_table(rows)
for problem in all_problems:
    print("  " + problem)
sys.exit(1 if all_problems else 0)
PYTHON
