// The live results page: markup, style and script in one document (column widths in rem, so
// the headings' smaller type does not narrow them), phone first and readable in
// sunlight (black on white, large type, bold figures). ASCII only: the texts come from the
// catalogue through {{TEXTS}}. Names and every other value reach the document through
// textContent only, so a driver named "<script>" is shown as those characters.
#include "web/live_page.h"

namespace zarvo {

const char kLivePageTemplate[] = R"page(<!DOCTYPE html>
<html lang="{{LANG}}">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta name="color-scheme" content="light">
<title>{{TITLE}}</title>
<link rel="icon" href="data:,">
<style>
*{box-sizing:border-box}
html{font-size:18px;-webkit-text-size-adjust:100%;text-size-adjust:100%;-webkit-tap-highlight-color:rgba(0,0,0,.15)}
body{margin:0;background:#fff;color:#000;font:1rem/1.25 "Liberation Sans",Arial,Helvetica,sans-serif}
header{position:sticky;top:0;z-index:2;background:#000;color:#fff;padding:10px 12px 8px}
#session{font-size:1.05em;font-weight:700;overflow-wrap:anywhere}
#line{display:flex;align-items:center;gap:10px;margin-top:4px;flex-wrap:wrap}
#run{font-weight:700;font-size:1.1em}
#state{padding:2px 10px;border-radius:4px;font-weight:700;background:#fff;color:#000}
#state.running{background:#00e676}
#state.countdown{background:#ffd600}
#clock{display:flex;align-items:baseline;justify-content:space-between;gap:10px;margin-top:6px}
#big{font-size:2.5em;font-weight:700;letter-spacing:.02em;font-variant-numeric:tabular-nums}
#bigCap,#smallCap{display:block;font-size:.7em;text-transform:uppercase;letter-spacing:.06em;color:#ddd}
#small{font-size:1.15em;font-weight:700;text-align:right;font-variant-numeric:tabular-nums}
#offline{display:none;background:#d50000;color:#fff;font-weight:700;padding:8px 12px}
#offline.on{display:block}
main{padding:0 0 24px}
table{width:100%;border-collapse:collapse;table-layout:fixed}
th{font-size:.66em;line-height:1.1;text-transform:uppercase;letter-spacing:.02em;text-align:left;vertical-align:bottom;padding:8px 3px 6px;border-bottom:3px solid #000;overflow-wrap:normal}
th.n,td.n{text-align:right}
th.p,td.p{text-align:center;width:2.2rem}
th.l{width:2.7rem}
th.t{width:5.3rem}
th:last-child,td:last-child{padding-right:8px}
td{padding:11px 3px;border-bottom:1px solid #888;font-variant-numeric:tabular-nums;white-space:nowrap}
tr.d{cursor:pointer}
tr.odd td{background:#f1f1f1}
td.p{font-size:1.35em;font-weight:700}
td.m{font-weight:700;white-space:normal;overflow-wrap:anywhere}
td.n{font-weight:700}
tr.rec td.p{background:#000;color:#fff}
.rb{background:#ffd600;outline:2px solid #000;border-radius:3px;padding:0 3px}
.nb{text-decoration:underline;text-decoration-thickness:3px}
.fin{display:inline-block;width:.8em;height:.8em;margin-left:6px;vertical-align:-1px;border:1px solid #000;background:conic-gradient(#000 25%,#fff 0 50%,#000 0 75%,#fff 0) 0 0/50% 50%}
tr.laps td{padding:6px 8px 12px;background:#fffbe0;border-bottom:3px solid #000;white-space:normal}
.lapgrid{display:grid;grid-template-columns:repeat(auto-fill,minmax(9em,1fr));gap:4px 18px;font-variant-numeric:tabular-nums}
.lapgrid span{display:flex;justify-content:space-between;gap:6px;font-weight:700}
.lapgrid span i{font-style:normal;font-weight:400;color:#333}
.lapgrid span.best{background:#ffd600;outline:2px solid #000;border-radius:3px;padding:0 3px}
.empty{padding:18px 12px;font-size:1.05em}
h2{font-size:1.05em;margin:26px 0 0;padding:10px 12px;background:#000;color:#fff}
details{border-bottom:2px solid #000}
summary{padding:12px;font-weight:700;cursor:pointer;list-style-position:inside}
summary:focus{outline:none}
summary:focus-visible{outline:3px solid #000}
summary small{display:block;font-weight:400;font-size:.8em;margin-top:2px;overflow-wrap:anywhere}
#hint{padding:10px 12px 0;font-size:.85em;color:#333}
</style>
</head>
<body>
<header>
<div id="session"></div>
<div id="line"><span id="run"></span><span id="state"></span></div>
<div id="clock"><div><span id="bigCap"></span><span id="big"></span></div><div id="smallBox"><span id="smallCap"></span><span id="small"></span></div></div>
</header>
<div id="offline" role="status"></div>
<main>
<div id="live"></div>
<div id="hint"></div>
<h2 id="otherTitle"></h2>
<div id="others"></div>
</main>
<script>
"use strict";
var T = {{TEXTS}};
var live = null, runs = [], runsId = -1, fetching = false, stream = null;
var open = {};

function el(tag, cls, text) {
  var e = document.createElement(tag);
  if (cls) e.className = cls;
  if (text !== undefined && text !== null) e.textContent = String(text);
  return e;
}
function byId(id) { return document.getElementById(id); }
function runText(n) { return T.run.replace("%d", String(n)); }

function lapList(row) {
  var box = el("div", "lapgrid");
  var laps = row.lapTimes || [];
  if (laps.length === 0) { box.appendChild(el("span", "", T.noLap)); return box; }
  for (var k = laps.length; k >= 1; k--) {
    var s = el("span", laps[k - 1] === row.best ? "best" : "");
    s.appendChild(el("i", "", T.lap + " " + k));
    s.appendChild(el("b", "", laps[k - 1]));
    box.appendChild(s);
  }
  return box;
}

// columns: [heading, class, field of the row]; key names the table so open lap lists survive updates.
function table(rows, key, columns) {
  if (!rows || rows.length === 0) return el("div", "empty", T.noDriver);
  var t = el("table"), head = el("tr");
  columns.forEach(function (c) { head.appendChild(el("th", c[1], c[0])); });
  var thead = el("thead"); thead.appendChild(head); t.appendChild(thead);
  var body = el("tbody");
  rows.forEach(function (r, i) {
    var id = key + ":" + r.slot;
    var tr = el("tr", "d" + (i % 2 ? " odd" : "") + (r.lapRecorded ? " rec" : ""));
    columns.forEach(function (c) {
      var td = el("td", c[1].replace(/ ?[lt]\b/g, ""));
      if (c[2] === "name") {
        td.textContent = r.name;
        if (r.finished && key === "live") td.appendChild(el("span", "fin"));
      } else if (c[2] === "best") {
        td.appendChild(el("span", r.runBest ? "rb" : (r.newBest ? "nb" : ""), r.best));
      } else {
        td.textContent = r[c[2]];
      }
      tr.appendChild(td);
    });
    tr.addEventListener("click", function () { open[id] = !open[id]; render(); });
    body.appendChild(tr);
    if (open[id]) {
      var lr = el("tr", "laps"), td = el("td");
      td.colSpan = columns.length;
      td.appendChild(lapList(r));
      lr.appendChild(td);
      body.appendChild(lr);
    }
  });
  t.appendChild(body);
  return t;
}

function replace(id, node) { var box = byId(id); box.textContent = ""; box.appendChild(node); }

function renderClock(d) {
  var c = d.clock, big = c.elapsed, bigCap = T.elapsed, small = c.duration, smallCap = T.duration;
  if (d.state === "countdown") { big = c.countdown; bigCap = T.countdown; }
  else if (d.state === "waiting") { big = c.duration; bigCap = T.duration; small = ""; smallCap = ""; }
  else if (!c.lapRun && d.state === "running") { big = c.remaining; bigCap = T.remaining; small = c.elapsed; smallCap = T.elapsed; }
  byId("big").textContent = big; byId("bigCap").textContent = bigCap;
  byId("small").textContent = small; byId("smallCap").textContent = smallCap;
}

function render() {
  if (!live) return;
  byId("session").textContent = live.session;
  byId("run").textContent = runText(live.run);
  var st = byId("state"); st.textContent = T[live.state] || ""; st.className = live.state;
  renderClock(live);
  replace("live", table(live.rows, "live", [[T.position, "p", "pos"], [T.driver, "m", "name"],
      [T.laps, "n l", "laps"], [T.lastLap, "n t", "last"], [T.bestLap, "n t", "best"]]));
  var others = el("div");
  if (runs.length === 0) others.appendChild(el("div", "empty", T.noOtherRun));
  runs.forEach(function (run) {
    var d = el("details"), s = el("summary", "", runText(run.run));
    var key = "run" + run.run;
    d.open = !!open[key];
    d.addEventListener("toggle", function () { open[key] = d.open; });
    s.appendChild(el("small", "", run.title));
    d.appendChild(s);
    d.appendChild(table(run.rows, key, [[T.position, "p", "pos"], [T.driver, "m", "name"],
        [T.laps, "n l", "laps"], [T.bestLap, "n t", "best"], [T.totalTime, "n t", "total"]]));
    others.appendChild(d);
  });
  replace("others", others);
}

function online(on) {
  var b = byId("offline");
  b.className = on ? "" : "on";
}

function applyLive(d) {
  live = d;
  if (d.runsId !== runsId) fetchAll(); else render();
}

function fetchAll() {
  if (fetching) return;
  fetching = true;
  fetch("results.json", {cache: "no-store"}).then(function (r) {
    if (!r.ok) throw new Error(r.status);
    return r.json();
  }).then(function (d) {
    fetching = false; online(true);
    runs = d.runs || []; runsId = d.runsId;
    if (!live || d.version >= live.version) live = d;
    render();
  }).catch(function () { fetching = false; online(false); });
}

function listen() {
  if (!window.EventSource) return;
  stream = new EventSource("events");
  stream.onmessage = function (e) {
    online(true);
    var d; try { d = JSON.parse(e.data); } catch (x) { return; }
    applyLive(d);
  };
  stream.onerror = function () { if (stream.readyState !== 1) online(false); };
}

document.title = T.title;
byId("offline").textContent = T.offline;
byId("hint").textContent = T.tapHint;
byId("otherTitle").textContent = T.otherRuns;
fetchAll();
listen();
// The polling fallback: while the stream is not open (no EventSource, a proxy that cuts it, the
// program restarting its server), the snapshot is read every 2 seconds.
setInterval(function () { if (!stream || stream.readyState !== 1) fetchAll(); }, 2000);
</script>
</body>
</html>
)page";

}  // namespace zarvo
