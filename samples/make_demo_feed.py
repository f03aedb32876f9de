#!/usr/bin/env python3
"""Writes samples/demo-feed.txt, the traffic Ovelsk plays when no real station is set up.

One hundred minutes around a home station near Boulder, Colorado: stations heard
only through the Internet, stations heard on radio directly and through
digipeaters (most of them also gated to the Internet by a local iGate), stations
the iGate sends to radio as third-party frames, stations beyond the default range
of 40 miles, and a few lines a real feed would carry that raise no beacon or are
plain garbage. Some stations fall silent early and some only start late, so over
one loop the list changes. The output is the same on every run.

    python3 samples/make_demo_feed.py > samples/demo-feed.txt
"""

import datetime
import math
import random

HOME = (40.015, -105.2705)
START = datetime.datetime(2026, 12, 8, 10, 0, 0, tzinfo=datetime.timezone.utc)
LOOP_MINUTES = 100
EARTH_RADIUS_MI = 3958.8

rng = random.Random(20261208)


def offset(lat, lon, distance_mi, bearing_deg):
    """The point distance_mi away on bearing_deg (spherical earth; plenty for a demo)."""
    d = distance_mi / EARTH_RADIUS_MI
    b = math.radians(bearing_deg)
    p1, l1 = math.radians(lat), math.radians(lon)
    p2 = math.asin(math.sin(p1) * math.cos(d) + math.cos(p1) * math.sin(d) * math.cos(b))
    l2 = l1 + math.atan2(math.sin(b) * math.sin(d) * math.cos(p1), math.cos(d) - math.sin(p1) * math.sin(p2))
    return math.degrees(p2), math.degrees(l2)


# --- the three position formats -------------------------------------------------

def uncompressed(lat, lon, table, code, ambiguity=0):
    """4001.90N/10516.23W- ; ambiguity blanks the last digits of both."""
    ns, ew = ("N" if lat >= 0 else "S"), ("E" if lon >= 0 else "W")
    lat, lon = abs(lat), abs(lon)
    la = "%02d%05.2f" % (int(lat), (lat - int(lat)) * 60)
    lo = "%03d%05.2f" % (int(lon), (lon - int(lon)) * 60)
    if la.endswith("60.00") or lo.endswith("60.00"):
        return uncompressed(lat + 1e-6 if ns == "N" else -lat, (lon + 1e-6) * (1 if ew == "E" else -1), table, code, ambiguity)
    for i in range(ambiguity):
        pos = [6, 5, 3, 2][i]
        la = la[:pos] + " " + la[pos + 1:]
        lo = lo[:pos + 1] + " " + lo[pos + 2:]
    return la + ns + table + lo + ew + code


def base91(value, width):
    chars = []
    for _ in range(width):
        chars.append(chr(value % 91 + 33))
        value //= 91
    return "".join(reversed(chars))


def compressed(lat, lon, table, code, course=None, speed_knots=None):
    """/5L!!<*e7>7P[ : 4 characters each for latitude and longitude, then course and speed."""
    y = int(round(380926 * (90 - lat)))
    x = int(round(190463 * (180 + lon)))
    if course is None:
        cst = "  !"
    else:
        s = int(round(math.log(speed_knots + 1) / math.log(1.08)))
        cst = chr(course // 4 + 33) + chr(s + 33) + "G"
    return table + base91(y, 4) + base91(x, 4) + code + cst


def mic_e(lat, lon, course, speed_knots, current=True):
    """Destination and information field of a Mic-E position report (message "En Route")."""
    alat, alon = abs(lat), abs(lon)
    lat_minutes = (alat - int(alat)) * 60
    digits = "%02d%02d%02d" % (int(alat), int(lat_minutes), int((lat_minutes - int(lat_minutes)) * 100))
    lon_deg = int(alon)
    lon_min_total = (alon - lon_deg) * 60
    lon_min = int(lon_min_total)
    lon_hun = int((lon_min_total - lon_min) * 100)
    offset100 = lon_deg < 10 or lon_deg >= 100
    # Message bits 1,1,0 (En Route), then north/south, longitude offset, west/east.
    flags = [True, True, False, lat >= 0, offset100, lon < 0]
    dest = "".join(chr(ord("P") + int(d)) if f else d for d, f in zip(digits, flags))
    if lon_deg < 10:
        d = lon_deg + 118
    elif lon_deg < 100:
        d = lon_deg + 28
    elif lon_deg < 110:
        d = lon_deg + 8
    else:
        d = lon_deg - 72
    m = lon_min + 88 if lon_min < 10 else lon_min + 28
    h = lon_hun + 28
    sp = speed_knots // 10
    sp_char = sp + 28 + (80 if sp < 4 else 0)
    dc = (speed_knots % 10) * 10 + course // 100
    se = course % 100
    info = ("`" if current else "'") + "".join(map(chr, (d, m, h, sp_char, dc + 28, se + 28))) + ">/"
    return dest, info


def printable(text):
    return all(32 <= ord(c) <= 126 for c in text)


# --- callsigns ------------------------------------------------------------------

used = set()


def callsign(ssid=None):
    while True:
        prefix = rng.choice(["K0", "W0", "N0", "KD0", "KC0", "KE0", "AC0", "KF0", "KB0"])
        suffix = "".join(rng.choice("ABCDEFGHIJKLMNOPQRSTUVWXYZ") for _ in range(3 if len(prefix) == 2 else 2 + rng.randint(0, 1)))
        call = prefix + suffix + ("-%d" % ssid if ssid else "")
        if call not in used:
            used.add(call)
            return call


DIGIS = [callsign(1), callsign(3)]
IGATE = callsign(10)
IS_SERVERS = ["T2USANE", "T2DENVER", "T2CAN", "T2TEXAS"]

lines = []  # (seconds from start, channel, packet)


def emit(seconds, channel, packet):
    lines.append((seconds, channel, packet))


def stamp(seconds):
    t = START + datetime.timedelta(seconds=seconds)
    return t.strftime("%d%H%Mz")


class Station:
    def __init__(self, call, kind, fmt, distance, bearing, interval, active, mobile=False, via=None, gated=True,
                 ambiguity=0, heading=None, speed=0):
        self.call, self.kind, self.fmt = call, kind, fmt
        self.lat, self.lon = offset(HOME[0], HOME[1], distance, bearing)
        self.interval, self.active, self.mobile = interval, active, mobile
        self.via, self.gated, self.ambiguity = via, gated, ambiguity
        self.heading = heading if heading is not None else rng.randrange(4, 356)
        self.speed = speed  # knots

    def move(self, seconds):
        if self.speed:
            self.lat, self.lon = offset(self.lat, self.lon, self.speed * 1.15078 * seconds / 3600, self.heading)
            self.heading = (self.heading + rng.randint(-20, 20)) % 360

    def info(self, seconds):
        """Destination and information field for one beacon."""
        if self.fmt == "mic-e":
            while True:
                course = rng.randrange(4, 356)
                speed = self.speed + rng.randint(-3, 3)
                if speed % 10 == 0:
                    speed += 1
                dest, info = mic_e(self.lat, self.lon, course, max(11, speed), current=rng.random() < 0.8)
                if printable(info) and course % 100 not in (0, 1, 2, 3, 99):
                    return dest, info + rng.choice(["]=", "]\"4)}=", "`_%", " Mobile"])
                self.lon += 0.0001  # nudge off a hundredth that encodes as a control character
        if self.fmt == "compressed":
            kwargs = {"course": self.heading, "speed_knots": self.speed} if self.speed else {}
            return "APDR16", "!" + compressed(self.lat, self.lon, "/", ">" if self.speed else "-", **kwargs) + " APRSdroid"
        pos = uncompressed(self.lat, self.lon, "/", ">" if self.mobile else "-", self.ambiguity)
        kind = rng.choice("!=/@") if not self.ambiguity else "!"
        if kind in "/@":
            return "APRS", kind + stamp(seconds) + pos + " on the air"
        return "APRS", kind + pos + " PHG2360 home station"


def rf_path(station):
    if station.via:
        return station.via + "*,WIDE2-1"
    return "WIDE1-1,WIDE2-1"


def play(station):
    start, end = station.active
    t = start + rng.randint(0, 40)
    while t < end:
        dest, info = station.info(t)
        if station.kind == "internet":
            emit(t, "IS", "%s>%s,TCPIP*,qAC,%s:%s" % (station.call, dest, rng.choice(IS_SERVERS), info))
        elif station.kind == "radio":
            header = "%s>%s,%s" % (station.call, dest, rf_path(station))
            emit(t, "RF0", header + ":" + info)
            if station.gated:
                emit(t + rng.randint(1, 4), "IS", "%s,qAR,%s:%s" % (header, IGATE, info))
        elif station.kind == "third-party":
            inner = "%s>%s,TCPIP,%s*:%s" % (station.call, dest, IGATE, info)
            emit(t, "IS", "%s>%s,TCPIP*,qAC,%s:%s" % (station.call, dest, rng.choice(IS_SERVERS), info))
            emit(t + rng.randint(1, 3), "RF0", "%s>APU25N,%s*,WIDE2-1:}%s" % (IGATE, DIGIS[0], inner))
        step = station.interval + rng.randint(-station.interval // 5, station.interval // 5)
        station.move(step)
        t += step


ALL = (0, LOOP_MINUTES * 60)
EARLY = (0, 30 * 60)
LATE = (45 * 60, LOOP_MINUTES * 60)
FORMATS = ["uncompressed", "compressed", "mic-e"]

stations = []
# Heard only through the Internet, inside the default range; the first show up in seconds.
for i in range(12):
    fmt = FORMATS[i % 3]
    mobile = fmt != "uncompressed"
    active = [ALL, ALL, EARLY, LATE][i % 4]
    if i < 4:
        active = (0, ALL[1])
    s = Station(callsign(rng.choice([5, 7, 9, None])), "internet", fmt, rng.uniform(3, 35), rng.uniform(0, 360),
                rng.choice([120, 300, 600]) if mobile else rng.choice([600, 900, 1200]), active, mobile,
                speed=rng.randint(15, 45) if mobile else 0, ambiguity=2 if i == 6 else 0)
    stations.append(s)
# Through the Internet, beyond the range.
for i in range(7):
    fmt = FORMATS[i % 3]
    stations.append(Station(callsign(rng.choice([9, None])), "internet", fmt, rng.uniform(48, 400), rng.uniform(0, 360),
                            rng.choice([300, 600, 900]), ALL if i % 2 else EARLY, fmt != "uncompressed",
                            speed=rng.randint(20, 50) if fmt != "uncompressed" else 0))
# On radio, heard directly, most also gated to the Internet by the local iGate.
for i in range(9):
    fmt = FORMATS[i % 3]
    mobile = fmt != "uncompressed"
    stations.append(Station(callsign(rng.choice([7, 9, None])), "radio", fmt, rng.uniform(2, 25), rng.uniform(0, 360),
                            rng.choice([180, 300, 600]), [ALL, EARLY, LATE][i % 3], mobile, gated=i % 4 != 0,
                            speed=rng.randint(15, 40) if mobile else 0))
# On radio through a digipeater.
for i in range(9):
    fmt = FORMATS[(i + 1) % 3]
    mobile = fmt != "uncompressed"
    stations.append(Station(callsign(rng.choice([9, None])), "radio", fmt, rng.uniform(15, 60), rng.uniform(0, 360),
                            rng.choice([300, 600, 900]), [ALL, LATE, EARLY][i % 3], mobile, via=DIGIS[i % 2],
                            gated=i % 3 != 0, speed=rng.randint(20, 50) if mobile else 0))
# Internet stations the iGate passes to radio as third-party frames.
for i in range(5):
    fmt = FORMATS[i % 3]
    stations.append(Station(callsign(rng.choice([7, 9])), "third-party", fmt, rng.uniform(5, 30), rng.uniform(0, 360),
                            rng.choice([300, 600]), [ALL, EARLY, LATE, ALL, ALL][i], fmt != "uncompressed",
                            speed=rng.randint(15, 40) if fmt != "uncompressed" else 0))
# The digipeaters and the iGate announce themselves too.
for call, bearing in zip(DIGIS, (300, 120)):
    stations.append(Station(call, "radio", "uncompressed", rng.uniform(10, 20), bearing, 1200, ALL))
stations.append(Station(IGATE, "radio", "uncompressed", 1.5, 45, 1200, ALL))
# A mobile that drives in from beyond the range, on radio once it is close.
traveller = Station(callsign(9), "internet", "mic-e", 70, 20, 120, (0, 50 * 60), True, heading=200, speed=55)
stations.append(traveller)

for s in stations:
    play(s)
# The traveller, now near home, is heard on radio for the rest of the loop.
traveller.kind, traveller.active, traveller.speed = "radio", (50 * 60, LOOP_MINUTES * 60), 25
play(traveller)

# What a real feed also carries: no position beacon, broken packets, broken lines.
noise = [
    (20, "IS", "%s>APRS,TCPIP*,qAC,T2USANE:>Net tonight 19:00 on the club repeater" % stations[0].call),
    (95, "RF0", "%s>APRS,WIDE2-1::%-9s:Thanks for the signal report{12" % (stations[20].call, stations[21].call)),
    (310, "IS", "%s>APRS,TCPIP*,qAC,T2CAN:;LEADVILLE*111111z3915.00N/10617.00W-Event" % stations[1].call),
    (700, "RF0", "%s>APRS,%s*:)AID#2!4003.50N/10514.00W!First aid" % (stations[30].call, DIGIS[0])),
    (1300, "RF0", "%s>APRS,WIDE1-1:T#005,199,000,255,073,123,01101001" % DIGIS[1]),
    (1500, "IS", "N0CALL-99X>APRS,TCPIP*,qAC,T2USANE:!4001.00N/10516.00W-bad callsign"),
    (2100, "RF0", "garbled packet without a header"),
    (2600, "IS", "%s>APRS,TCPIP*,qAC,T2TEXAS:!4001.9" % stations[2].call),
]
for entry in noise:
    emit(*entry)

# And two lines that are not replay lines at all.
broken = [
    (2100, "2026-12-08T10:35:00 IS %s>APRS:!4001.00N/10516.00W- time without its zone" % stations[3].call),
    (3000, "2026-12-08T10:50:00Z TNC %s>APRS:!4001.00N/10516.00W- unknown channel" % stations[3].call),
]

text = []
for seconds, channel, packet in lines:
    assert printable(packet), packet
    t = START + datetime.timedelta(seconds=seconds)
    text.append((seconds, "%s %s %s" % (t.strftime("%Y-%m-%dT%H:%M:%SZ"), channel, packet)))
text.extend(broken)
text.sort(key=lambda line: line[0])

print("# Ovelsk demo feed, written by samples/make_demo_feed.py; change the script, not this file.")
print("# home %.6f %.6f, %d stations, %d minutes; played in a loop with the times shifted to the present." %
      (HOME[0], HOME[1], len(used), LOOP_MINUTES))
print("# TIME CHANNEL PACKET")
for _, line in text:
    print(line)
