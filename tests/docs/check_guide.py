#!/usr/bin/env python3
"""Checks the user guide of one edition, as the program ships it in Guides/.

    check_guide.py <source folder> <en|fr>

The PDF named by the program's help command (TXT_HELP_DOCUMENT) opens with pdfinfo, is small,
starts with its table of contents, whose every entry points at the page where that chapter or
section really begins, and its text names every item of the edition's menus (TXT_MENU_* in
text/app_texts.h, the pop-up menus of the session tree included).
"""
import os
import re
import subprocess
import sys

MAX_BYTES = 4 * 1024 * 1024
FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)
    return condition


def run(*command):
    return subprocess.run(command, check=True, capture_output=True).stdout.decode("utf-8")


def edition_texts(header, prefix, edition):
    """TXT_<prefix>... = ZT("English", "French") of a text header, as {name: text}."""
    source = open(header, encoding="utf-8").read()
    pattern = re.compile(r'#define\s+(%s\w*)\s*\\?\s*ZT\(\s*"((?:[^"\\]|\\.)*)"\s*,\s*"((?:[^"\\]|\\.)*)"\s*\)' % prefix)
    texts = {}
    for name, english, french in pattern.findall(source):
        text = english if edition == "en" else french
        texts[name] = text.replace("\\\\", "\\")
    return texts


def words(text):
    """The text with every run of blanks and line ends made one blank (lines break anywhere)."""
    return " ".join(text.split())


def page_text(pdf, page):
    return words(run("pdftotext", "-layout", "-f", str(page), "-l", str(page), pdf, "-"))


def main():
    source, edition = sys.argv[1], sys.argv[2]
    app_texts = os.path.join(source, "text", "app_texts.h")
    help_path = edition_texts(app_texts, "TXT_HELP_DOCUMENT", edition)["TXT_HELP_DOCUMENT"]
    pdf = os.path.join(source, "data", *help_path.strip("\\").split("\\"))
    if not check(os.path.isfile(pdf), f"no help document {pdf}"):
        return report()
    check(os.path.getsize(pdf) < MAX_BYTES, f"{pdf}: {os.path.getsize(pdf)} bytes, more than {MAX_BYTES}")

    info = run("pdfinfo", pdf)
    pages = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
    check(pages >= 10, f"only {pages} pages")
    check(re.search(r"^Title:\s+Zarvo Training", info, re.M) is not None, "the PDF has no title")

    # The table of contents on page 2: "<title> .... <page>" for every chapter and section.
    contents_title = "Contents" if edition == "en" else "Sommaire"
    contents = run("pdftotext", "-layout", "-f", "2", "-l", "2", pdf, "-")
    lines = [line.strip() for line in contents.splitlines() if line.strip()]
    # (the first line is the running header)
    check(contents_title in lines[:2], f"page 2 does not begin with {contents_title}")
    entries = re.findall(r"^\s*(\S.*?\S)\s*\.{3,}\s*(\d+)\s*$", contents, re.M)
    check(len(entries) >= 20, f"the table of contents has {len(entries)} entries")
    guide = os.path.join(source, "docs", "guide", f"{edition}.md")
    headings = [h.strip() for h in re.findall(r"^#{1,2} (.+)$", open(guide, encoding="utf-8").read(), re.M)]
    listed = [words(title) for title, _ in entries]
    expected = [words(h.replace("**", "")) for h in headings]
    check(listed == expected, f"the table of contents lists {listed}, the guide has {expected}")
    last = 0
    for title, page in entries:
        page = int(page)
        check(last <= page <= pages, f"contents: '{title}' on page {page}")
        check(words(title) in page_text(pdf, page), f"contents: '{title}' is not on page {page}")
        last = page

    text = words(run("pdftotext", pdf, "-"))
    menus = edition_texts(app_texts, "TXT_MENU_", edition)
    check(len(menus) >= 24, f"only {len(menus)} menu texts found in {app_texts}")
    for name, item in sorted(menus.items()):
        check(item in text, f"the guide does not mention the menu item {name} '{item}'")

    # Made from the current source: a PDF not rebuilt after the guide changed misses headings or
    # pictures.
    markdown = open(guide, encoding="utf-8").read()
    for heading in re.findall(r"^#{1,3} (.+)$", markdown, re.M):
        check(words(heading.replace("**", "")) in text, f"the PDF lacks the section '{heading}'")
    shown = sorted(set(re.findall(r"\]\((images/[^)]+)\)", markdown)))
    folder = os.path.join(source, "docs", "guide", "images", edition)
    for picture in shown:
        check(os.path.isfile(os.path.join(source, "docs", "guide", picture)), f"missing picture {picture}")
    files = sorted(f"images/{edition}/{name}" for name in os.listdir(folder)) if os.path.isdir(folder) else []
    check(files == shown, f"pictures shown {shown} but in {folder}: {files}")
    listed_images = run("pdfimages", "-list", pdf).splitlines()[2:]
    check(len(listed_images) >= len(shown),
          f"the PDF holds {len(listed_images)} pictures, the guide shows {len(shown)}")
    return report()


def report():
    for failure in FAILURES:
        print("FAILED:", failure)
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
