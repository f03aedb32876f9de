// The status page's script: fetches /api/status every 2 s and shows it. Every
// text from the server is set as textContent, never as markup: callsigns,
// packets and server replies come from the network.
"use strict";

const kRefreshMs = 2000;
let sortKey = "distance";
let sortAscending = true;
let latest = null;

function cell(row, text, className) {
  const td = document.createElement("td");
  td.textContent = text === null || text === undefined ? "" : String(text);
  if (className) td.className = className;
  row.appendChild(td);
  return td;
}

function fillBody(tableId, items, addCells) {
  const body = document.querySelector("#" + tableId + " tbody");
  const rows = items.map((item) => {
    const row = document.createElement("tr");
    addCells(row, item);
    return row;
  });
  body.replaceChildren(...rows);
}

function localTime(iso) {
  return iso ? new Date(iso).toLocaleString() : "";
}

function duration(seconds) {
  const d = Math.floor(seconds / 86400), h = Math.floor(seconds / 3600) % 24, m = Math.floor(seconds / 60) % 60;
  return (d ? d + " d " : "") + h + " h " + m + " min";
}

function showStation(s) {
  document.getElementById("callsign").textContent = s.callsign;
  const facts = [
    ["Callsign", s.callsign || "(none)"],
    ["Home", s.home.latitude.toFixed(4) + ", " + s.home.longitude.toFixed(4)],
    ["Range", s.range + " " + s.distanceUnit],
    ["Version", s.version],
    ["Up", duration(s.uptimeSeconds) + " (since " + localTime(s.started) + ")"],
    ["Host folder", s.hostFolder || "(none: no igate.ini is kept)"],
    ["igate.ini", s.igateIni || "(none)"],
    ["Settings", s.settingsFile],
  ];
  const list = document.getElementById("station");
  list.replaceChildren(...facts.flatMap(([name, value]) => {
    const dt = document.createElement("dt");
    dt.textContent = name;
    const dd = document.createElement("dd");
    dd.textContent = value;
    return [dt, dd];
  }));
  document.getElementById("igate-path").textContent = s.igateIni || "igate.ini";
}

function feedState(feed) {
  if (feed.state === "retrying") return "retrying in " + feed.retryInSeconds + " s";
  if (feed.loginVerified === true) return feed.state + ", login verified";
  if (feed.loginVerified === false) return feed.state + ", login unverified";
  return feed.state;
}

function showFeeds(feeds) {
  fillBody("feeds", feeds, (row, feed) => {
    cell(row, feed.kind);
    cell(row, feed.name);
    cell(row, feedState(feed), feed.state);
    cell(row, localTime(feed.since));
    cell(row, feed.packets, "number");
    cell(row, feed.lastError);
  });
}

function compare(a, b) {
  const x = a[sortKey], y = b[sortKey];
  if (x === y) return a.callsign < b.callsign ? -1 : 1;
  if (x === null) return 1;
  if (y === null) return -1;
  return (x < y ? -1 : 1) * (sortAscending ? 1 : -1);
}

function showStations(stations, unit) {
  const sorted = stations.slice().sort(compare);
  fillBody("stations", sorted, (row, s) => {
    if (s.listed) row.className = "listed";
    cell(row, s.callsign);
    cell(row, s.distance.toFixed(1) + " " + unit, "number");
    cell(row, s.bearing.toFixed(0) + "°", "number");
    cell(row, localTime(s.lastHeardRf));
    cell(row, localTime(s.lastHeardOther));
    cell(row, s.listed ? "yes" : "no");
  });
  document.querySelectorAll("#stations th").forEach((th) => {
    th.className = th.dataset.key === sortKey ? (sortAscending ? "ascending" : "descending") : "";
  });
}

function showGates(gates) {
  for (const [id, gate] of [["radio", gates.toRadio], ["internet", gates.toInternet]]) {
    document.getElementById("mode-" + id).textContent = gate.mode;
    fillBody("counts-" + id, gate.counts, (row, c) => {
      cell(row, c.outcome);
      cell(row, c.count, "number");
    });
  }
  const told = [gates.telemetry ? "Last telemetry " + localTime(gates.telemetry.time) + ": " + gates.telemetry.report
                                : "No telemetry sent"];
  for (const a of gates.queryAnswers.slice().reverse()) told.push(localTime(a.time) + " " + a.text);
  document.getElementById("network").replaceChildren(...told.map((text) => {
    const item = document.createElement("li");
    item.textContent = text;
    return item;
  }));
  fillBody("decisions", gates.recent.slice().reverse(), (row, d) => {
    cell(row, localTime(d.time));
    cell(row, d.direction);
    cell(row, d.outcome);
    cell(row, d.text);
  });
}

function showDecoder(decoder) {
  const rows = [{label: "decoded", count: decoder.decoded}].concat(
    decoder.dropped.map((d) => ({label: "dropped: " + d.reason, count: d.count})));
  fillBody("decoder", rows, (row, r) => {
    cell(row, r.label);
    cell(row, r.count, "number");
  });
}

function show(status) {
  latest = status;
  showStation(status.station);
  showFeeds(status.feeds);
  document.getElementById("candidates").textContent =
    status.candidates.map((c) => c.igateLine).join("\n");
  showStations(status.stations, status.station.distanceUnit);
  showGates(status.gates);
  showDecoder(status.decoder);
  const updated = document.getElementById("updated");
  updated.textContent = "Updated " + new Date().toLocaleTimeString();
  updated.className = "quiet";
  document.getElementById("radar").src = "/radar.png?t=" + Date.now();
}

async function refresh() {
  try {
    const answer = await fetch("/api/status", {cache: "no-store"});
    if (!answer.ok) throw new Error("HTTP " + answer.status);
    show(await answer.json());
  } catch (error) {
    const updated = document.getElementById("updated");
    updated.textContent = "Ovelsk does not answer (" + error.message + "); trying again";
    updated.className = "stale";
  } finally {
    setTimeout(refresh, kRefreshMs);
  }
}

document.querySelectorAll("#stations th").forEach((th) => {
  th.addEventListener("click", () => {
    sortAscending = th.dataset.key === sortKey ? !sortAscending : true;
    sortKey = th.dataset.key;
    if (latest) showStations(latest.stations, latest.station.distanceUnit);
  });
});
refresh();
