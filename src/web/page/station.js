"use strict";
// The station's page: status, the file on the air, the queue, the log and the
// controls, read from the station's web API and kept current by its event
// socket. Whatever the station sends is set as text (textContent, value),
// never as markup: held messages and log lines carry strangers' mail.

const LOG_LINES_KEPT = 500;
const UPLOAD_LIMIT = 1024 * 1024;
const RECONNECT_FIRST_MS = 1000;
const RECONNECT_LONGEST_MS = 15000;

const byId = (id) => document.getElementById(id);

function setText(id, text) {
  const element = byId(id);
  if (element.textContent !== text) element.textContent = text;
}

// A line under a form: how the last action went, red when it went wrong.
function tell(id, text, trouble = false) {
  setText(id, text);
  byId(id).classList.toggle("trouble", trouble);
}

// One API call; a refusal throws its {"error": ...} text, with the whole answer beside it.
async function request(method, path, body) {
  const init = { method, headers: { Accept: "application/json" } };
  if (body instanceof FormData) {
    init.body = body;
  } else if (body !== undefined) {
    init.headers["Content-Type"] = "application/json";
    init.body = JSON.stringify(body);
  }
  const response = await fetch(path, init);
  const answer = await response.json().catch(() => null);
  if (!response.ok) {
    const refusal = new Error(answer && answer.error ? answer.error : `${response.status} ${response.statusText}`);
    refusal.answer = answer || {};
    throw refusal;
  }
  return answer;
}

// Each load and each push counts; a load's answer is shown only when nothing
// newer of its kind came meanwhile (a late answer would turn the page back).
const seen = { status: 0, current: 0, held: 0 };

async function load(kind, path, take) {
  const mine = ++seen[kind];
  const answer = await request("GET", path);
  if (seen[kind] === mine) take(answer);
}

// ---- status

const station = {
  status: null,
  frame: 0,
  queueShown: null,
  queueSeen: null,
  current: { file: "", text: "", start: 0 },
  currentAskedFor: null,
  logNext: 0,
  logWaiting: null,
  connectedBefore: false,
  retryMs: RECONNECT_FIRST_MS,
};

// Status comes as often as characters go out; it is drawn once a frame.
function takeStatus(status) {
  station.status = status;
  if (!station.frame) station.frame = requestAnimationFrame(drawStatus);
  const queue = JSON.stringify(status.queue);
  if (station.queueSeen !== null && queue !== station.queueSeen) loadHeld();
  station.queueSeen = queue;
  const wanted = textWanted(status.current);
  if (wanted && wanted !== station.currentAskedFor) {
    station.currentAskedFor = wanted;
    loadCurrent();
  }
}

// The text to ask for when the character on the air lies outside the text held,
// named by what is held, so that it is asked once and not at every character.
function textWanted(onAir) {
  if (!onAir) return null;
  const { file, text, start } = station.current;
  if (onAir.file === file && onAir.sent >= start && onAir.sent < start + text.length) return null;
  return `${onAir.file}|${file}|${start}`;
}

function drawStatus() {
  station.frame = 0;
  const status = station.status;
  setText("transmitter", status.transmitter ? "ON" : "OFF");
  setText("air-banner", status.transmitter ? "ON AIR" : "OFF AIR");
  byId("air-banner").className = status.transmitter ? "banner on" : "banner off";
  setText("scheduler", status.scheduler ? "ENABLED" : "DISABLED");
  setText("paused", status.paused ? "PAUSED" : status.current ? "sending" : "idle");
  setText("mode", status.mode);
  setText("baud", `${status.baud} baud`);
  setText("port", status.port === "NULL" ? "none" : status.port);
  setText("sound-card", status.soundCard === "None" ? "none" : status.soundCard);
  setText("countdown", status.countdown === null || status.countdown === undefined ? "-" : `${status.countdown} s`);
  setText("chat-users", status.chatUsers && status.chatUsers.length ? status.chatUsers.join(", ") : "none");
  setText("version", `Tarvik ${status.version}`);
  markActive("enable", status.scheduler);
  markActive("transmitter-on", status.transmitter);
  markActive("pause", status.paused);
  document.title = status.transmitter ? "ON AIR - Tarvik" : "Tarvik";
  drawQueue(status.queue);
  drawOnAir();
}

function markActive(command, on) {
  document.querySelector(`button[data-command="${command}"]`).classList.toggle("active", on);
}

function drawQueue(lines) {
  const shown = JSON.stringify(lines);
  if (shown === station.queueShown) return;
  station.queueShown = shown;
  byId("queue").replaceChildren(...lines.map((line) => {
    const item = document.createElement("li");
    item.textContent = line;
    return item;
  }));
}

// ---- the file on the air

const air = {
  before: document.createTextNode(""),
  mark: Object.assign(document.createElement("span"), { id: "on-air-char" }),
  after: document.createTextNode(""),
};

function takeCurrent(current) {
  station.current = { file: current.file || "", text: current.text || "", start: current.start || 0 };
  drawOnAir();
}

// The character on the air is text[sent - start]; the text view follows it.
function drawOnAir() {
  const { file, text, start } = station.current;
  const onAir = station.status && station.status.current;
  setText("current-file", onAir ? onAir.file : "nothing");
  setText("current-progress", onAir ? `${onAir.sent} of ${onAir.size}` : "");
  const at = onAir && onAir.file === file ? onAir.sent - start : -1;
  const inText = at >= 0 && at < text.length;
  air.before.data = inText ? text.slice(0, at) : text;
  air.mark.textContent = inText ? text[at] : "";
  air.after.data = inText ? text.slice(at + 1) : "";
  if (inText) keepInView(byId("current-text"), air.mark);
}

function keepInView(box, mark) {
  const top = mark.offsetTop;
  if (top < box.scrollTop || top + mark.offsetHeight > box.scrollTop + box.clientHeight)
    box.scrollTop = Math.max(0, top - box.clientHeight / 2);
}

// ---- the log

function appendLog(lines) {
  const box = byId("log");
  const atBottom = box.scrollHeight - box.scrollTop - box.clientHeight < 8;
  box.append(...lines.map((line) => {
    const row = document.createElement("div");
    row.textContent = line;
    return row;
  }));
  while (box.childElementCount > LOG_LINES_KEPT) box.firstElementChild.remove();
  if (atBottom) box.scrollTop = box.scrollHeight;
}

// Live lines are new by the server's word (a smaller count is a new day's log).
function takeLogLines(batch) {
  if (station.logWaiting) {
    station.logWaiting.push(batch);
    return;
  }
  appendLog(batch.lines);
  station.logNext = batch.next;
}

// The lines missed while the socket was down. Live lines arriving meanwhile
// wait, and whatever of them the answer already held is dropped.
async function catchUpLog() {
  if (station.logWaiting) return;
  station.logWaiting = [];
  try {
    const batch = await request("GET", `api/log?after=${station.logNext}`);
    appendLog(batch.lines);
    station.logNext = batch.next;
  } catch (error) {
    showLink(false, `log: ${error.message}`);
  } finally {
    const waiting = station.logWaiting;
    station.logWaiting = null;
    for (const batch of waiting) {
      const first = batch.next - batch.lines.length;
      appendLog(batch.lines.slice(Math.min(batch.lines.length, Math.max(0, station.logNext - first))));
      station.logNext = Math.max(station.logNext, batch.next);
    }
  }
}

// ---- held messages

const FOLDER_LABELS = { moderatedwords: "held for approval", badwords: "set aside: bad word" };

function heldItem(message) {
  const item = document.createElement("li");
  item.dataset.name = message.name;
  item.dataset.folder = message.folder;
  const title = document.createElement("div");
  title.className = "held-title";
  const name = document.createElement("strong");
  name.textContent = message.name;
  const folder = document.createElement("span");
  folder.className = "folder";
  folder.textContent = FOLDER_LABELS[message.folder] || message.folder;
  title.append(name, " ", folder);
  const text = document.createElement("pre");
  text.className = "text";
  text.textContent = message.text;
  const buttons = document.createElement("div");
  buttons.className = "held-buttons";
  if (message.folder === "moderatedwords") buttons.append(heldButton("approve", "Approve", message.name));
  buttons.append(heldButton("delete", "Delete", message.name));
  item.append(title, text, buttons);
  return item;
}

function heldButton(action, label, name) {
  const button = document.createElement("button");
  button.type = "button";
  button.className = action;
  button.textContent = label;
  button.addEventListener("click", () => decideHeld(name, action, button));
  return button;
}

async function decideHeld(name, action, button) {
  button.disabled = true;
  try {
    await request("POST", `api/held/${encodeURIComponent(name)}/${action}`, {});
    const done = action === "approve" ? "approved; it goes out after the next file" : "deleted";
    tell("held-message", `${name} ${done}.`);
  } catch (error) {
    tell("held-message", `${name}: ${error.message}`, true);
  }
  loadHeld();
}

function loadHeld() {
  load("held", "api/held", (messages) => byId("held").replaceChildren(...messages.map(heldItem)))
    .catch((error) => tell("held-message", `Held messages: ${error.message}`, true));
}

function loadCurrent() {
  load("current", "api/current", takeCurrent).catch((error) => showLink(false, `current: ${error.message}`));
}

function loadStatus() {
  load("status", "api/status", takeStatus).catch((error) => showLink(false, `status: ${error.message}`));
}

async function loadSchedule() {
  try {
    byId("schedule-text").value = (await request("GET", "api/schedule")).text;
  } catch (error) {
    tell("schedule-message", error.message, true);
  }
}

// ---- the event socket

const PUSHES = {
  status: (message) => {
    seen.status++;
    takeStatus(message.status);
  },
  current: (message) => {
    seen.current++;
    takeCurrent(message);
  },
  log: takeLogLines,
};

function showLink(live, trouble) {
  const link = byId("link");
  link.textContent = trouble || (live ? "live" : "reconnecting");
  link.className = live && !trouble ? "link up" : "link down";
}

function eventsUrl() {
  const url = new URL("api/events", location.href);
  url.protocol = location.protocol === "https:" ? "wss:" : "ws:";
  url.username = "";
  url.password = "";
  return url.href;
}

function connect() {
  const socket = new WebSocket(eventsUrl());
  socket.addEventListener("open", () => {
    station.retryMs = RECONNECT_FIRST_MS;
    showLink(true);
    if (station.connectedBefore) {
      loadCurrent();
      loadHeld();
    }
    station.connectedBefore = true;
    catchUpLog();
  });
  socket.addEventListener("message", (event) => {
    let message;
    try {
      message = JSON.parse(event.data);
    } catch {
      return;
    }
    const take = PUSHES[message.type];
    if (take) take(message);
  });
  socket.addEventListener("close", () => {
    showLink(false);
    setTimeout(connect, station.retryMs);
    station.retryMs = Math.min(station.retryMs * 2, RECONNECT_LONGEST_MS);
  });
}

// ---- the operator's forms

async function runCommand(button) {
  button.disabled = true;
  try {
    await request("POST", "api/command", { command: button.dataset.command });
    tell("command-message", "");
  } catch (error) {
    tell("command-message", `${button.textContent}: ${error.message}`, true);
  } finally {
    button.disabled = false;
  }
}

async function queueUpload(event) {
  event.preventDefault();
  const form = event.currentTarget;
  const file = byId("upload-file").files[0];
  if (!file) return;
  if (file.size > UPLOAD_LIMIT) {
    tell("upload-message", `${file.name} is over 1 MB; the station takes at most 1 MB.`, true);
    return;
  }
  const data = new FormData(form);
  const name = String(data.get("name") || "").trim();
  if (name) data.set("name", name);
  else data.delete("name");
  tell("upload-message", `Sending ${file.name}...`);
  try {
    const answer = await request("POST", "api/queue", data);
    tell("upload-message", `Queued as ${answer.name}.`);
    form.reset();
  } catch (error) {
    tell("upload-message", `${file.name}: ${error.message}`, true);
  }
}

async function saveSchedule() {
  const editor = byId("schedule-text");
  tell("schedule-message", "Saving...");
  try {
    await request("PUT", "api/schedule", { text: editor.value });
    tell("schedule-message", "Saved; the queue is reloaded from it.");
  } catch (error) {
    tell("schedule-message", error.message, true);
    if (error.answer && error.answer.line) selectLine(editor, error.answer.line);
  }
}

function selectLine(editor, number) {
  const lines = editor.value.split("\n");
  if (number < 1 || number > lines.length) return;
  const start = lines.slice(0, number - 1).reduce((sum, line) => sum + line.length + 1, 0);
  editor.focus();
  editor.setSelectionRange(start, start + lines[number - 1].length);
}

function start() {
  byId("current-text").append(air.before, air.mark, air.after);
  for (const button of document.querySelectorAll("button[data-command]"))
    button.addEventListener("click", () => runCommand(button));
  byId("upload-form").addEventListener("submit", queueUpload);
  byId("schedule-save").addEventListener("click", saveSchedule);
  loadStatus();
  loadCurrent();
  catchUpLog();
  loadHeld();
  loadSchedule();
  connect();
}

start();
