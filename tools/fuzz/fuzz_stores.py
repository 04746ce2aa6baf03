#!/usr/bin/env python3
"""Fuzzes the browser stores Brimtor reads: mutates small valid seeds of places.sqlite,
profiles.ini, installs.ini, Chromium's Bookmarks and Local State, and runs the harness
tools/fuzz/fuzz_stores.cpp, built with AddressSanitizer and UndefinedBehaviorSanitizer, over each.

  tools/fuzz/fuzz_stores.py [--minutes M] [--jobs N] [--seed S] [--build DIR]

A finding is a sanitizer report, a crash, a run longer than --timeout seconds or a broken check
of the harness (a clean that removed what was not ticked, a refused clean that changed the
store, a rewrite that grew). Each finding's home folder is made again from its seed in
DIR/fuzz-findings/SEED-KIND/, with why.txt; run the harness there with HOME and the XDG folders
pointing into it. The last line printed gives the figures: runs, findings, and runs by store.
Not part of `make test`.
"""
import argparse
import json
import os
import random
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCHEMA = open(os.path.join(ROOT, "tests/bookmarks/data/places_schema.sql")).read()

FIREFOX = ".mozilla/firefox/"
CHROMIUM = ".config/chromium/"
PROFILES_INI = "[General]\nStartWithLastProfile=1\n\n[Profile1]\nName=old\nIsRelative=1\nPath=old\n\n" \
               "[Profile0]\nName=default\nIsRelative=1\nPath=p\nDefault=1\n\n[Install4F96D1932A9F858E]\nDefault=p\nLocked=1\n"
INSTALLS_INI = "[4F96D1932A9F858E]\nDefault=p\nLocked=1\n"
LOCAL_STATE = {"profile": {"last_used": "Default", "info_cache": {"Default": {"name": "Person 1"}}}}
INTERESTING = [0, 1, -1, 2, 7, 2**31 - 1, 2**31, 2**32 + 7, -4294967289, 2**63 - 1, -2**63, None, "x", "", "7"]


def run_sql(path, sql, *params):
    db = sqlite3.connect(path)
    try:
        db.execute(sql, params)
        db.commit()
    except (sqlite3.Error, ValueError):
        pass
    db.close()


def seed_places(path, rng):
    db = sqlite3.connect(path)
    db.executescript(SCHEMA)
    rows = [(1, 2, None, 0, 0, "", "root________"), (2, 2, None, 1, 0, "menu", "menu________"),
            (3, 2, None, 1, 1, "toolbar", "toolbar_____"), (4, 2, None, 1, 2, "tags", "tags________"),
            (5, 2, None, 1, 3, "unfiled", "unfiled_____"), (6, 2, None, 1, 4, "mobile", "mobile______"),
            (7, 2, None, 2, 0, "Sub", "sub_________"), (8, 2, None, 4, 0, "news", "tag_news____")]
    for i in range(rng.randint(3, 12)):
        db.execute("INSERT INTO moz_places (id, url, guid, foreign_count) VALUES (?, ?, ?, 1)",
                   (100 + i, "http://site%d.example/p" % (i % 5), "place%07d" % i))
        parent = rng.choice([2, 3, 5, 6, 7, 8])
        rows.append((10 + i, 1, 100 + i, parent, i, "Bookmark %d" % i, "bm%010d" % i))
    db.executemany("INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, guid, syncStatus) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?, %d)" % rng.choice([0, 2]), rows)
    db.commit()
    if rng.random() < 0.3:
        db.execute("PRAGMA journal_mode = WAL")
    db.close()


def places_mutation(path, rng):
    try:
        ids = [r[0] for r in sqlite3.connect(path).execute("SELECT id FROM moz_bookmarks")] or [1]
    except (sqlite3.Error, ValueError):  # a damaged file, or text that is no UTF-8
        ids = [1]
    column = rng.choice(["id", "parent", "fk", "type", "position", "guid", "title"])
    value = rng.choice(INTERESTING + ids)
    choice = rng.randrange(12)
    if choice == 0:
        run_sql(path, "UPDATE moz_bookmarks SET %s = ? WHERE id = ?" % column, value, rng.choice(ids))
    elif choice == 1:
        run_sql(path, "UPDATE moz_bookmarks SET parent = ? WHERE id = ?", rng.choice(ids), rng.choice([1, 2, 7]))
    elif choice == 2:
        depth = rng.choice([150, 199, 200, 201, 1000, 5000])
        run_sql(path, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                      "INSERT INTO moz_bookmarks (id, type, parent, position, guid) "
                      "SELECT 1000 + i, 2, IIF(i = 1, 2, 999 + i), 0, 'deep' || i FROM n", depth)
    elif choice == 3:
        run_sql(path, "DELETE FROM moz_bookmarks WHERE id = ?", rng.choice(ids))
    elif choice == 4:
        run_sql(path, "UPDATE moz_places SET url = ? WHERE id = (SELECT fk FROM moz_bookmarks WHERE id = ?)",
                rng.choice([None, "", "javascript:x", "http://\x00/", "x" * 70000]), rng.choice(ids))
    elif choice == 5:
        run_sql(path, rng.choice([
            "CREATE TRIGGER t AFTER DELETE ON moz_bookmarks BEGIN DELETE FROM moz_bookmarks; END",
            "CREATE TRIGGER t BEFORE DELETE ON moz_bookmarks BEGIN SELECT RAISE(ABORT, 'no'); END",
            "CREATE TRIGGER t AFTER UPDATE ON moz_places BEGIN UPDATE moz_bookmarks SET parent = 1; END",
            "ALTER TABLE moz_bookmarks DROP COLUMN syncChangeCounter",
            "DROP TABLE moz_bookmarks_deleted",
            "ALTER TABLE moz_bookmarks RENAME TO b", "DROP INDEX moz_bookmarks_guid_uniqueindex"]))
    elif choice == 6:
        run_sql(path, "INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, guid) "
                      "SELECT id + ?, type, fk, parent, position, title || ' twin', guid || 'x' FROM moz_bookmarks "
                      "WHERE type = 1",
                rng.choice([2**32, -2**32, 1000]))
    elif choice == 7:
        # A Firefox that dies in the middle of a transaction leaves a hot journal.
        subprocess.run([sys.executable, "-c", "import sqlite3, os, sys\n"
                        "d = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                        "d.execute('PRAGMA journal_mode = DELETE'); d.execute('PRAGMA cache_size = 1')\n"
                        "d.execute('BEGIN'); d.execute(\"UPDATE moz_bookmarks SET title = 'half', parent = 7\")\n"
                        "d.execute('CREATE TABLE f (x)')\n"
                        "d.execute('INSERT INTO f SELECT randomblob(4000) FROM moz_bookmarks, moz_bookmarks LIMIT 400')\n"
                        "os._exit(0)", path], check=False, stderr=subprocess.DEVNULL)
    else:
        flip_bytes(path, rng, start=100)


def flip_bytes(path, rng, start=0):
    data = bytearray(open(path, "rb").read())
    if not data:
        return
    for _ in range(rng.randint(1, 16)):
        at = rng.randrange(min(start, len(data) - 1), len(data))
        kind = rng.randrange(4)
        if kind == 0:
            data[at] = rng.randrange(256)
        elif kind == 1:
            del data[at:at + rng.randint(1, 64)]
        elif kind == 2:
            data[at:at] = bytes(rng.randrange(256) for _ in range(rng.randint(1, 8)))
        else:
            del data[at:]
    open(path, "wb").write(bytes(data))


def special_file(path, rng):
    if os.path.lexists(path):
        os.remove(path)
    kind = rng.randrange(4)
    if kind == 0:
        os.mkfifo(path)
    elif kind == 1:
        os.symlink("/dev/zero", path)
    elif kind == 2:
        os.mkdir(path)
    else:
        with open(path, "wb") as f:
            f.truncate((256 << 20) + 1)


def ini_mutation(text, rng):
    lines = text.split("\n")
    choice = rng.randrange(7)
    if choice == 0:
        count = rng.choice([10, 3000, 20000])
        return "".join("[Profile%d]\nPath=p%d\n" % (i, i) for i in range(count)) + text
    if choice == 1:
        rng.shuffle(lines)
    elif choice == 2:
        lines.insert(rng.randrange(len(lines) + 1), rng.choice(
            ["Path=", "Path=../../..", "IsRelative=0", "Path=/dev/zero", "Default=1", "[", "]", "=", "[Install]",
             "Default=" + "x" * 100000, "\r", "\ufeff[Profile9]", "Path=p\x00q", "[Profile0"]))
    elif choice == 3 and lines:
        del lines[rng.randrange(len(lines))]
    elif choice == 4:
        return text.replace("\n", rng.choice(["\r\n", "\r", ""]))
    else:
        data = bytearray(text.encode())
        flip_bytes_in(data, rng)
        return bytes(data)
    return "\n".join(lines)


def flip_bytes_in(data, rng):
    for _ in range(rng.randint(1, 8)):
        if data:
            data[rng.randrange(len(data))] = rng.randrange(256)


def seed_tree(rng):
    ids = iter(range(4, 10000))

    def node(depth):
        if depth < 3 and rng.random() < 0.3:
            return {"children": [node(depth + 1) for _ in range(rng.randint(0, 4))], "date_added": "13350000000000000",
                    "guid": "0bc5d13f-2cba-5d74-951f-3f233fe6c908", "id": str(next(ids)), "name": "Folder ü",
                    "type": "folder"}
        return {"date_added": "13350000000000000", "id": str(next(ids)), "meta_info": {"k": "v"},
                "name": rng.choice(["A", "日本 😀", "<b>", ""]), "type": "url",
                "url": rng.choice(["http://a.example/", "https://b.example/x", "javascript:1", "chrome://x"])}

    roots = {key: {"children": [node(1) for _ in range(rng.randint(0, 5))], "id": str(i + 1), "name": key,
                   "type": "folder"} for i, key in enumerate(["bookmark_bar", "other", "synced"])}
    return {"checksum": "0" * 32, "roots": roots, "sync_metadata": "c3luYw==", "version": 1}


def all_nodes(tree):
    found, stack = [], [tree["roots"][k] for k in tree["roots"]]
    while stack:
        n = stack.pop()
        found.append(n)
        if isinstance(n.get("children"), list):
            stack.extend(c for c in n["children"] if isinstance(c, dict))
    return found


def deep(depth, rng):
    kind = rng.randrange(3)
    if kind == 0:
        return "[" * depth + "]" * depth
    if kind == 1:  # children first, as the browser writes a folder
        return '{"children": [' * depth + '], "id": "9", "name": "d", "type": "folder"}' * depth
    return "".join('{"id": "9%d", "name": "d", "type": "folder", "children": [' % i for i in range(depth)) + "]}" * depth


def json_mutation(tree, rng):
    """The tree's text after one mutation; deep parts are spliced in as text, which Python's own
    writer could not nest."""
    nodes = all_nodes(tree)
    target = rng.choice(nodes)
    choice = rng.randrange(9)
    marker = None
    if choice == 0:
        target["id"] = rng.choice(INTERESTING + ["2147483648", "99999999999999999999", "abc", nodes[0]["id"]])
    elif choice == 1 and isinstance(target.get("children"), list) and target["children"]:
        target["children"].append(dict(rng.choice(target["children"])))
    elif choice == 2:
        target.pop(rng.choice(["id", "name", "type", "url", "children"]), None)
    elif choice == 3:
        target[rng.choice(["type", "children", "name", "url"])] = rng.choice([{}, "x", 5, None, [1], "folder", "url"])
    elif choice in (4, 5):
        marker = "@@deep@@"
        if choice == 4:
            target.setdefault("meta_info", {})["deep"] = marker
        elif isinstance(target.get("children"), list):
            target["children"].append(marker)
    elif choice == 6:
        target["children"] = [{"id": str(20000 + i), "name": "n", "type": "url", "url": "http://m.example/%d" % i}
                              for i in range(rng.choice([1000, 20000]))]
    text = json.dumps(tree, indent=rng.choice([None, 3]), ensure_ascii=rng.random() < 0.5)
    if marker:
        text = text.replace('"%s"' % marker, deep(rng.choice([150, 199, 200, 201, 5000, 10000, 40000]), rng))
    if choice == 7:
        text = text.replace('"name":', '"name": "twice", "name":', 1)
    elif choice == 8:
        data = bytearray(text.encode())
        flip_bytes_in(data, rng)
        return bytes(data)
    return text


def local_state_mutation(rng):
    state = json.loads(json.dumps(LOCAL_STATE))
    state["profile"]["last_used"] = rng.choice(["", "Gone", "..", ".", "../chromium", "Default/..", 5, None,
                                                {"x": 1}, "Profile 1", "x" * 5000])
    text = json.dumps(state)
    if rng.random() < 0.3:
        text = "[" * 50000 + text
    return text


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data.encode("utf-8", "surrogateescape") if isinstance(data, str) else data)


def make_case(home, rng):
    """Fills the home with one store kind, one of its files mutated; the harness's argument."""
    if rng.random() < 0.5:
        places = os.path.join(home, FIREFOX + "p/places.sqlite")
        os.makedirs(os.path.dirname(places))
        seed_places(places, rng)
        os.makedirs(os.path.join(home, FIREFOX + "old"))
        write(os.path.join(home, FIREFOX + "profiles.ini"), PROFILES_INI)
        write(os.path.join(home, FIREFOX + "installs.ini"), INSTALLS_INI)
        target = rng.choice(["places"] * 6 + ["profiles.ini", "installs.ini", "special"])
        if target == "places":
            for _ in range(rng.randint(1, 3)):
                places_mutation(places, rng)
        elif target == "special":
            special_file(rng.choice([places, places + "-wal", places + "-journal",
                                     os.path.join(home, FIREFOX + "profiles.ini")]), rng)
        else:
            path = os.path.join(home, FIREFOX + target)
            write(path, ini_mutation(open(path, encoding="utf-8").read(), rng))
        return "firefox", target
    bookmarks = os.path.join(home, CHROMIUM + "Default/Bookmarks")
    write(bookmarks, json.dumps(seed_tree(rng), indent=3))
    write(os.path.join(home, CHROMIUM + "Local State"), json.dumps(LOCAL_STATE))
    target = rng.choice(["Bookmarks"] * 6 + ["Local State", "special"])
    if target == "Bookmarks":
        write(bookmarks, json_mutation(seed_tree(rng), rng))
    elif target == "Local State":
        write(os.path.join(home, CHROMIUM + "Local State"), local_state_mutation(rng))
    else:
        special_file(rng.choice([bookmarks, os.path.join(home, CHROMIUM + "Local State")]), rng)
    return "chromium", target


def one_run(harness, seed, timeout, findings):
    rng = random.Random(seed)
    home = tempfile.mkdtemp(prefix="brimtor-fuzz-")
    try:
        os.makedirs(os.path.join(home, "run"), mode=0o700)
        kind, target = make_case(home, rng)
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/.config", XDG_DATA_HOME=home + "/.local/share",
                   XDG_RUNTIME_DIR=home + "/run", ASAN_OPTIONS="detect_leaks=0",
                   UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1")
        try:
            done = subprocess.run([harness, kind], env=env, cwd=home, capture_output=True, timeout=timeout)
            failed, why = done.returncode != 0, done.stderr.decode("utf-8", "replace")
        except subprocess.TimeoutExpired:
            failed, why = True, "no end after %d s" % timeout
        if failed:
            # The run changed its home; the same seed makes the same case again.
            keep = os.path.join(findings, "%d-%s" % (seed, kind))
            shutil.rmtree(keep, ignore_errors=True)
            os.makedirs(os.path.join(keep, "run"), mode=0o700)
            make_case(keep, random.Random(seed))
            write(os.path.join(keep, "why.txt"), why)
            last = (why.strip().splitlines() or [""])[-1]
            print("finding: seed %d, %s %s: %s" % (seed, kind, target, last), flush=True)
        return kind + " " + target, failed
    finally:
        shutil.rmtree(home, ignore_errors=True)


def build(folder):
    subprocess.run(["cmake", "-S", ROOT, "-B", folder, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                    "-DBRIMTOR_SANITIZE=ON", "-DBRIMTOR_WERROR=OFF"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", folder, "--target", "fuzz_stores"], check=True)
    return os.path.join(folder, "tools/fuzz/fuzz_stores")


def main():
    options = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    options.add_argument("--minutes", type=float, default=10)
    options.add_argument("--jobs", type=int, default=1)
    options.add_argument("--seed", type=int, default=int(time.time()))
    options.add_argument("--timeout", type=int, default=20)
    options.add_argument("--build", default=os.path.join(ROOT, "build-fuzz"))
    args = options.parse_args()
    harness = build(args.build)
    findings = os.path.join(args.build, "fuzz-findings")
    os.makedirs(findings, exist_ok=True)
    end, seed, runs, found, by_store = time.time() + args.minutes * 60, args.seed, 0, 0, {}
    with ThreadPoolExecutor(args.jobs) as pool:
        while time.time() < end:
            batch = [pool.submit(one_run, harness, seed + i, args.timeout, findings) for i in range(args.jobs * 4)]
            seed += len(batch)
            for job in batch:
                case, failed = job.result()
                runs += 1
                found += failed
                if runs % 500 == 0:
                    print("%d runs, %d findings" % (runs, found), flush=True)
                store = case.split()[0]
                by_store[store] = by_store.get(store, 0) + 1
    print("runs %d, findings %d (%s), seeds from %d" % (runs, found, ", ".join(
        "%s %d" % item for item in sorted(by_store.items())), args.seed))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
