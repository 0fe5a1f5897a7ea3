#!/usr/bin/python3
"""The phone page in a real browser (headless Chromium through Selenium) against a real server.

Two ways to run it:
  --vireod PATH [--out DIR] [--screenshots DIR]
      starts `vireod --emulator` with a trace, loads the page with the token in both languages, moves
      the music level with the keyboard and checks the report on the wire, then changes the level from
      another client (curl's way: a PUT) and waits for the page to show it.
  --url URL
      the page of a server someone else runs (the window's test): after moving the level the script
      prints "MOVED <value>", then "READY", reads "EXPECT <field> <value>" from stdin and prints "SEEN"
      once the page shows it.
Exit status 0 when everything was seen; one line on stderr otherwise.
"""
import argparse
import http.client
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

WAIT_S = 20


def fail(message):
    print("phone page: " + message, file=sys.stderr, flush=True)
    sys.exit(1)


def float32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


def music_volume_report(value):
    """The report of musicVolume = value: module 4, parameter 12, one float value/100 + 0.0005 (float32),
    big-endian, after the report id 02 and the write code 09."""
    wire = struct.pack(">f", float32(float32(value / 100.0) + 0.0005))
    return "> 02 09 00 04 0C 01 " + " ".join("%02X" % b for b in wire)


def browser(lang):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--lang=" + ("zh-CN" if lang == "zh" else "en-US")):
        options.add_argument(arg)
    options.add_experimental_option("prefs", {"intl.accept_languages": "zh-CN,zh" if lang == "zh" else "en-US,en"})
    options.add_experimental_option("mobileEmulation",
                                    {"deviceMetrics": {"width": 360, "height": 740, "pixelRatio": 2}})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def open_page(driver, url):
    driver.get(url)
    WebDriverWait(driver, WAIT_S).until(
        lambda d: d.find_element(By.TAG_NAME, "body").get_attribute("data-ready") == "1"
        and d.find_element(By.TAG_NAME, "body").get_attribute("data-connected") == "1")
    if "token=" in driver.current_url:
        fail("the token is still in the address bar: " + driver.current_url)


def shown_value(driver, field):
    return driver.find_element(By.CSS_SELECTOR, 'output[data-out="%s"]' % field).text.strip()


def move_music_level(driver):
    """Focus the music slider the way a user does (a tap on it), then three steps to the right."""
    slider = driver.find_element(By.CSS_SELECTOR, 'input[data-field="musicVolume"]')
    driver.execute_script("arguments[0].scrollIntoView({block: 'center'})", slider)
    slider.click()
    for _ in range(3):
        slider.send_keys(Keys.ARROW_RIGHT)
    time.sleep(0.3)  # the page sends the last value of a drag at once; this only lets its echo settle
    return int(slider.get_attribute("value"))


def wait_for_shown(driver, field, value):
    WebDriverWait(driver, WAIT_S).until(lambda d: shown_value(d, field) == str(value))


def wait_for_wire(trace_path, line):
    deadline = time.time() + WAIT_S
    while time.time() < deadline:
        with open(trace_path, encoding="ascii") as trace:
            if any(l.startswith(line) for l in trace):
                return
        time.sleep(0.05)
    fail("the report '%s' never reached the machine" % line)


def run_own_server(vireod, out, screenshots):
    token_file = os.path.join(out, "token")
    trace = os.path.join(out, "trace")
    log = open(os.path.join(out, "vireod.log"), "w+", encoding="utf-8")
    server = subprocess.Popen([vireod, "--emulator", "--listen", "127.0.0.1:0", "--token-file", token_file,
                               "--trace", trace], stderr=log)
    try:
        port = None
        deadline = time.time() + WAIT_S
        while port is None and time.time() < deadline:
            log.seek(0)
            m = re.search(r"listening on http://127\.0\.0\.1:(\d+)", log.read())
            port = m and m.group(1)
            time.sleep(0.05)
        if port is None:
            fail("vireod did not start listening")
        token = open(token_file).read().strip()
        url = "http://127.0.0.1:%s/?token=%s" % (port, token)
        for lang in ("en", "zh"):
            driver = browser(lang)
            try:
                open_page(driver, url)
                if screenshots:
                    driver.save_screenshot(os.path.join(screenshots, "phone-%s.png" % lang))
                    driver.execute_script("window.scrollTo(0, document.body.scrollHeight)")
                    time.sleep(0.2)
                    driver.save_screenshot(os.path.join(screenshots, "phone-%s-scenes.png" % lang))
                    driver.execute_script("window.scrollTo(0, 0)")
                value = move_music_level(driver)
                wait_for_shown(driver, "musicVolume", value)
                wait_for_wire(trace, music_volume_report(value))
                # Another client changes the level; the page follows.
                other = (value + 11) % 100
                conn = http.client.HTTPConnection("127.0.0.1", int(port), timeout=WAIT_S)
                conn.request("PUT", "/api/v1/fields/musicVolume", json.dumps({"value": other}),
                             {"Authorization": "Bearer " + token})
                if conn.getresponse().status != 200:
                    fail("the other client's PUT was refused")
                wait_for_shown(driver, "musicVolume", other)
            finally:
                driver.quit()
    finally:
        server.terminate()
        if server.wait(timeout=WAIT_S) != 0:
            fail("vireod did not end cleanly on SIGTERM")


def run_with_window(url):
    driver = browser("en")
    try:
        open_page(driver, url)
        print("MOVED %d" % move_music_level(driver), flush=True)
        print("READY", flush=True)
        line = sys.stdin.readline().split()
        if len(line) != 3 or line[0] != "EXPECT":
            fail("expected 'EXPECT field value' on stdin")
        wait_for_shown(driver, line[1], line[2])
        print("SEEN", flush=True)
    finally:
        driver.quit()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--vireod")
    parser.add_argument("--out")
    parser.add_argument("--screenshots")
    parser.add_argument("--url")
    args = parser.parse_args()
    try:
        if args.url:
            run_with_window(args.url)
        elif args.vireod:
            # A folder of this run's own for the token, the trace and the log.
            out = args.out or tempfile.mkdtemp(prefix="vireo-phone-page-")
            try:
                run_own_server(args.vireod, out, args.screenshots)
            finally:
                if not args.out:
                    shutil.rmtree(out, ignore_errors=True)
        else:
            fail("give --vireod PATH, or --url URL")
    except Exception as error:  # a browser that cannot start or a time-out: one line, not a trace-back
        fail("%s: %s" % (type(error).__name__, str(error).splitlines()[0] if str(error) else ""))


if __name__ == "__main__":
    main()
