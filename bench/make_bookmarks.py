#!/usr/bin/env python3
"""Writes a bookmark HTML file for the scan benchmark.

  make_bookmarks.py COUNT PORT REFUSED_PORT OUT [KINDS]   links on the loopback server
  make_bookmarks.py COUNT 0 0 OUT                         a large file for loading only (no server)

The links cycle through KINDS (comma-separated, default all the server's kinds); with a
REFUSED_PORT other than 0 every seventh link goes to that port, where nobody listens.
"""
import sys

KINDS = ["ok", "gone", "moved", "head", "error", "empty"]


def main():
    count, port, refused, out = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    kinds = sys.argv[5].split(",") if len(sys.argv) > 5 else KINDS
    lines = ["<!DOCTYPE NETSCAPE-Bookmark-file-1>", "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">",
             "<TITLE>Bookmarks</TITLE>", "<H1>Bookmarks</H1>", "<DL><p>"]
    per_folder = 100
    for i in range(count):
        if i % per_folder == 0:
            if i:
                lines.append("    </DL><p>")
            lines.append("    <DT><H3 ADD_DATE=\"1165400000\" LAST_MODIFIED=\"1165400000\">Folder %d</H3>" % (i // per_folder))
            lines.append("    <DL><p>")
        if port:
            if refused and i % 7 == 6:
                url = "http://127.0.0.1:%d/refused%d" % (refused, i)
            else:
                url = "http://127.0.0.1:%d/%s%d" % (port, kinds[i % len(kinds)], i)
        else:
            url = "http://www.example%d.com/path/to/page%d.html" % (i % 977, i)
        lines.append("        <DT><A HREF=\"%s\" ADD_DATE=\"1165400000\" "
                     "LAST_MODIFIED=\"1165400000\">Bookmark %d</A>" % (url, i))
    if count:
        lines.append("    </DL><p>")
    lines.append("</DL><p>")
    with open(out, "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
