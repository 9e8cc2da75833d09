#!/usr/bin/env python3
"""The HTML report as a browser shows and prints it.

    check_report_in_browser.py <chromium> <zarvo-export-sample-<edition>> <work folder> <artifact prefix>

Writes the sample exports, then has a headless Chromium (a fresh profile, no network services)
take a screenshot of the practice day's report (<prefix>.png) and print it to PDF (<prefix>.pdf).
Checked: the screenshot is a full page with colour in it (logo, table heads, curves); the print has
A4 pages, one run a page at least, and holds the drivers' names as text, the escaped one as
written, never run as a script.
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def chromium(binary, url, *arguments):
    """Runs Chromium on a fresh profile, ends its whole process group however it ends."""
    with tempfile.TemporaryDirectory(prefix="zarvo-chromium-") as profile:
        command = [binary, "--headless", "--no-sandbox", "--disable-gpu",
                   "--disable-background-networking", "--disable-component-update",
                   "--disable-sync", "--no-first-run", "--no-default-browser-check",
                   "--disable-extensions", f"--user-data-dir={profile}", *arguments, url]
        process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                   start_new_session=True)
        try:
            output, _ = process.communicate(timeout=90)
        except subprocess.TimeoutExpired:
            output = b"timed out"
        finally:
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            process.wait()
        return process.returncode, output.decode("utf-8", "replace")


def main():
    binary, sample, folder, prefix = sys.argv[1:5]
    shutil.rmtree(folder, ignore_errors=True)
    subprocess.run([sample, folder], check=True)
    report = os.path.abspath(os.path.join(folder, "club day.html"))
    url = "file://" + report.replace(" ", "%20")
    os.makedirs(os.path.dirname(prefix), exist_ok=True)
    png, pdf = prefix + ".png", prefix + ".pdf"
    for path in (png, pdf):
        if os.path.exists(path):
            os.remove(path)

    code, output = chromium(binary, url, "--hide-scrollbars", "--window-size=1024,1800",
                            f"--screenshot={png}")
    if check(os.path.exists(png), f"no screenshot (exit {code}): {output[-600:]}"):
        identify = subprocess.run(["identify", "-format", "%w %h %k", png], capture_output=True,
                                  text=True, check=True).stdout.split()
        width, height, colours = (int(v) for v in identify)
        check((width, height) == (1024, 1800), f"screenshot {width}x{height}")
        check(colours > 200, f"only {colours} colours in the screenshot: an empty page?")
        # The top of the page is the heading, not white: the logo and the title are drawn.
        top = subprocess.run(["convert", png, "-crop", "1024x90+0+0", "-format", "%[fx:mean]",
                              "info:"], capture_output=True, text=True, check=True).stdout
        check(float(top) < 0.97, f"the page's top is blank (mean {top})")

    code, output = chromium(binary, url, "--no-pdf-header-footer", f"--print-to-pdf={pdf}")
    if check(os.path.exists(pdf), f"no PDF (exit {code}): {output[-600:]}"):
        info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True).stdout
        size = re.search(r"Page size:\s+([\d.]+) x ([\d.]+) pts", info)
        pages = int(re.search(r"Pages:\s+(\d+)", info).group(1))
        check(size is not None and abs(float(size.group(1)) - 595.3) < 1
              and abs(float(size.group(2)) - 841.9) < 1, f"not A4: {size.group(0) if size else info}")
        check(pages >= 2, f"{pages} pages: each run should start its own page")
        text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True,
                              text=True, check=True).stdout
        for name in ["Jürgen Müller", "Ana; María", "François Œuvre", "Zoë €uro",
                     "Tom \"Flash\" O'Neil, Jr.", "<script>alert('x')</script> & Co"]:
            check(name in text, f"{name!r} is not printed")

    for message in failures:
        print("FAIL:", message)
    if failures:
        return 1
    print(f"screenshot {png}, print {pdf} ({pages} A4 pages)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
