#!/usr/bin/env python3
"""Load on the live results server of the real program while a run is timed (see
tools/measure-live-load.sh, which starts the program and the run).

    measure_live_load.py make-session <file.trng> <driver count>
    measure_live_load.py load <port> <simulator log> <instants file> <seconds> <stream clients>

make-session writes a session of that many drivers (transponders 001001 on), a 10-minute time
run with a staggered start and no countdown, run 1 not yet timed.

load opens <stream clients> event streams (GET /events) and one client that asks for
/results.json again as soon as each answer is in, on kept-alive connections, for <seconds>.
It prints the snapshot requests per second and their latency, the events received per second,
the passage-to-event latency (from the simulator writing the passage, CLOCK_MONOTONIC_RAW in
100 ns units, to a stream client reading the event whose lap count shows it) and then checks
that every lap time the program timed is the difference of the simulator's decoder stamps.
"""
import asyncio
import json
import re
import sys
import time

FIRST_TRANSPONDER = 1001


def name_of(i):
    return "PILOTE %02d" % (i + 1)


def make_session(path, count):
    def area(pairs, content):
        reserve = "1\t" * pairs + "\r\n"
        return content + reserve[len(content):] if len(content) < len(reserve) else content

    header = f"10000\tCharge\t{count}\t0\t1\t"
    header += ("1\t" * 25)[len(header):]
    drivers = [(name_of(i), "%06d" % (FIRST_TRANSPONDER + i)) for i in range(count)]
    participants = "".join(f"{n}\t{t}\t\t\t\t\t\t\r\n" for n, t in drivers)
    participants += "(NA)\t\t\t\t\t\t\t\r\n" * (20 - count)
    parameters = ("CLASSEMENTToursTemps\tDUREESERIETemps\t10\t1\t0\tDEPARTDecale\t"
                  "FINTEMPSFinirTour\tFINTOURFaireTousLesTours\t\r\n")
    text = header + "\r\n"
    text += "\r\nSessionListeParticipants\t\r\n" + area(1000, participants)
    text += "\r\nSessionCourseParam\u00e8tres\t\r\n" + area(65, parameters)
    with open(path, "wb") as f:
        f.write(text.encode("cp1252"))


def now_ticks():
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC_RAW) // 100


def driver_of(transponder):
    i = int(transponder) - FIRST_TRANSPONDER
    return name_of(i) if 0 <= i < 20 else None


class Passages:
    """The simulator's passages by driver, read again as the file grows."""

    def __init__(self, path):
        self.path, self.instants = path, {}

    def instant(self, name, index):
        known = self.instants.get(name, [])
        if index >= len(known):
            self.instants = {}
            with open(self.path) as f:
                for line in f:
                    instant, transponder = line.split()
                    self.instants.setdefault(driver_of(transponder), []).append(int(instant))
            known = self.instants.get(name, [])
        return known[index] if index < len(known) else None


async def read_head(reader):
    head = await reader.readuntil(b"\r\n\r\n")
    lines = head.decode("latin-1").split("\r\n")
    status = int(lines[0].split()[1])
    fields = {}
    for line in lines[1:]:
        if ":" in line:
            key, _, value = line.partition(":")
            fields[key.strip().lower()] = value.strip()
    return status, fields


async def stream_client(port, stop, passages, stats):
    reader, writer = await asyncio.open_connection("127.0.0.1", port)
    writer.write(b"GET /events HTTP/1.1\r\nHost: club\r\nAccept: text/event-stream\r\n\r\n")
    await writer.drain()
    status, _ = await read_head(reader)
    if status != 200:
        stats["refused"] += 1
        return
    laps = {}
    while not stop.is_set():
        try:
            line = await asyncio.wait_for(reader.readline(), 1.0)
        except asyncio.TimeoutError:
            continue
        if not line:
            stats["closed"] += 1
            return
        if not line.startswith(b"data: "):
            continue
        seen = now_ticks()
        stats["events"] += 1
        try:
            snapshot = json.loads(line[6:])
        except ValueError:
            continue  # a chunk boundary inside the line: the next event says it all again
        for row in snapshot["rows"]:
            name, count = row["name"], int(row["laps"] or 0)
            if laps.get(name) is not None and count == laps[name] + 1:
                instant = passages.instant(name, count)
                if instant is not None:
                    stats["latencies"].append((seen - instant) / 1e4)
            laps[name] = count
    writer.close()


async def poller(port, stop, stats):
    reader = writer = None
    while not stop.is_set():
        if writer is None:
            reader, writer = await asyncio.open_connection("127.0.0.1", port)
        asked = time.monotonic()
        writer.write(b"GET /results.json HTTP/1.1\r\nHost: club\r\n\r\n")
        await writer.drain()
        try:
            status, fields = await read_head(reader)
            body = await reader.readexactly(int(fields.get("content-length", "0")))
        except (asyncio.IncompleteReadError, ConnectionError):
            writer.close()
            writer = None  # the server ends a connection after its 100th request
            continue
        stats["requests"] += 1
        stats["request_ms"].append((time.monotonic() - asked) * 1000)
        stats["bytes"] += len(body)
        if status != 200:
            stats["errors"] += 1
        if fields.get("connection", "").lower() == "close":
            writer.close()
            writer = None
    if writer is not None:
        writer.close()


def pct(values, p):
    values = sorted(values)
    return values[min(len(values) - 1, int(len(values) * p))] if values else float("nan")


async def load(port, simulator_log, instants_file, seconds, clients):
    stop = asyncio.Event()
    passages = Passages(instants_file)
    streams = {"events": 0, "latencies": [], "refused": 0, "closed": 0}
    polls = {"requests": 0, "request_ms": [], "bytes": 0, "errors": 0}
    tasks = [asyncio.create_task(stream_client(port, stop, passages, streams)) for _ in range(clients)]
    await asyncio.sleep(1)  # every stream open before the poller starts
    begin = time.monotonic()
    tasks.append(asyncio.create_task(poller(port, stop, polls)))
    await asyncio.sleep(seconds)
    stop.set()
    elapsed = time.monotonic() - begin
    await asyncio.wait(tasks, timeout=5)

    print(f"event streams: {clients} opened, {streams['refused']} refused, "
          f"{streams['closed']} closed by the server")
    print(f"events received: {streams['events']} in {elapsed:.1f} s "
          f"({streams['events'] / elapsed:.0f} a second over all streams)")
    lat = streams["latencies"]
    print(f"passage to event: {len(lat)} laps seen, median {pct(lat, 0.5):.0f} ms, "
          f"95th percentile {pct(lat, 0.95):.0f} ms, worst {max(lat) if lat else float('nan'):.0f} ms")
    ms = polls["request_ms"]
    print(f"/results.json: {polls['requests']} answers in {elapsed:.1f} s "
          f"({polls['requests'] / elapsed:.0f} a second, {polls['bytes'] / max(1, polls['requests']) / 1024:.1f} KB each), "
          f"median {pct(ms, 0.5):.1f} ms, 99th percentile {pct(ms, 0.99):.1f} ms, {polls['errors']} errors")

    # Every lap the program timed is the difference of two decoder stamps of the simulator.
    reader, writer = await asyncio.open_connection("127.0.0.1", port)
    writer.write(b"GET /results.json HTTP/1.1\r\nHost: club\r\nConnection: close\r\n\r\n")
    await writer.drain()
    _, fields = await read_head(reader)
    snapshot = json.loads(await reader.readexactly(int(fields["content-length"])))
    writer.close()
    stamps = {}
    sent = re.compile(r"sent passage (\d{6}) at (\d+):(\d\d):(\d\d)\.(\d\d\d)")
    for line in open(simulator_log):
        m = sent.search(line)
        if m:
            h, mi, s, t = (int(v) for v in m.groups()[1:])
            stamps.setdefault(driver_of(m.group(1)), []).append(((h * 60 + mi) * 60 + s) * 1000 + t)
    laps, wrong = 0, []
    for row in snapshot["rows"]:
        def ms_of(text):
            minutes, _, rest = text.rpartition(":")
            whole, _, frac = rest.partition(".")
            return (int(minutes or 0) * 60 + int(whole)) * 1000 + int(frac.ljust(3, "0")[:3])
        timed = [ms_of(t) for t in row["lapTimes"]]
        own = stamps.get(row["name"], [])
        truth = [b - a for a, b in zip(own, own[1:])]
        laps += len(timed)
        if timed != truth[:len(timed)]:
            wrong.append(row["name"])
    print(f"laps timed: {laps} of {len(snapshot['rows'])} drivers; "
          + ("every one exactly the decoder's" if not wrong else f"NOT the decoder's for {wrong}"))
    return 0 if not wrong and lat else 1


def main(argv):
    if argv[:1] == ["make-session"]:
        make_session(argv[1], int(argv[2]))
        return 0
    if argv[:1] == ["load"] and len(argv) == 6:
        return asyncio.run(load(int(argv[1]), argv[2], argv[3], float(argv[4]), int(argv[5])))
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
