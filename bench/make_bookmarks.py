#!/usr/bin/env python3
"""Writes a bookmark HTML file for the scan benchmark.

  make_bookmarks.py COUNT PORT REFUSED_PORT OUT   links of mixed behaviour on the loopback server
  make_bookmarks.py COUNT 0 0 OUT                 a large file for loading only (no server)

Every seventh link goes to a port nobody listens on; the rest cycle through the server's kinds.
"""
import sys

KINDS = ["ok", "gone", "moved", "head", "error", "empty"]


def main():
    count, port, refused, out = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
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
            if i % 7 == 6:
                url = "http://127.0.0.1:%d/refused%d" % (refused, i)
            else:
                url = "http://127.0.0.1:%d/%s%d" % (port, KINDS[i % 6], i)
        else:
            url = "http://www.example%d.com/some/longer/path/to/a/page%d.html?with=query&and=more" % (i % 977, i)
        lines.append("        <DT><A HREF=\"%s\" ADD_DATE=\"1165400000\" LAST_VISIT=\"1165400000\" "
                     "LAST_MODIFIED=\"1165400000\">Bookmark number %d</A>" % (url, i))
    if count:
        lines.append("    </DL><p>")
    lines.append("</DL><p>")
    with open(out, "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
