#!/usr/bin/python3
"""Drives Lexora through the accessibility bus as a screen-reader user's helper would.

Controls are found only by accessible role and name, and clicked with the real pointer at the centre
of the rectangle the bus reports, so a wrong rectangle makes a route fail. Words are learnt from what
the program says (the wrong-answer boxes, the quiz's title), never known in advance.
"""
import argparse
import os
import re
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

STATE = Atspi.StateType


class RouteError(Exception):
    pass


def name_of(o):
    try:
        return o.get_name() or ""
    except gi.repository.GLib.Error:
        return ""


def role_of(o):
    try:
        return o.get_role_name()
    except gi.repository.GLib.Error:
        return ""


def fresh_name(o):
    o.clear_cache()
    return name_of(o)


def showing(o):
    try:
        states = o.get_state_set()
    except gi.repository.GLib.Error:
        return False
    return states.contains(STATE.SHOWING) and states.contains(STATE.VISIBLE)


def rect(o):
    e = o.get_extents(Atspi.CoordType.SCREEN)
    return (e.x, e.y, e.width, e.height)


def inside(inner, outer):
    x, y, w, h = inner
    ox, oy, ow, oh = outer
    return x >= ox and y >= oy and x + w <= ox + ow and y + h <= oy + oh


def descendants(o):
    """Every showing object below o, depth first."""
    for i in range(o.get_child_count()):
        c = o.get_child_at_index(i)
        if c is not None and showing(c):
            yield c
            yield from descendants(c)


def wait(what, probe, timeout=10.0):
    end = time.monotonic() + timeout
    while True:
        found = probe()
        if found:
            return found
        if time.monotonic() > end:
            raise RouteError("timed out waiting for " + what)
        time.sleep(0.1)


class Lexora:
    """One running program on the bus: its windows, and the controls inside them."""

    def __init__(self, program, scale, log):
        self.log = log
        self.touched = 0
        env = dict(os.environ, QT_SCALE_FACTOR=str(scale), QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.proc = subprocess.Popen([program], env=env)
        self.app = wait("the program on the bus", self._find_app, 30)
        self.main = wait("the main window", lambda: self.window(role="frame", name="Lexora -- "), 20)
        # Qt reports its own device-independent pixels over the bus; the pointer moves in the screen's.
        # One ratio for the whole program, taken from its main window, turns the one into the other.
        self.window_id = wait("the main window on the screen", lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid), "--name", "Lexora -- "],
            capture_output=True, text=True).stdout.split(), 10)[0]
        self.ratio = screen_width(self.window_id) / rect(self.main)[2]

    def _find_app(self):
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            a = desktop.get_child_at_index(i)
            if a is not None and a.get_process_id() == self.proc.pid and a.get_child_count() > 0:
                return a
        return None

    def close(self):
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()

    def windows(self):
        self.app.clear_cache()
        return [w for w in (self.app.get_child_at_index(i) for i in range(self.app.get_child_count()))
                if w is not None and showing(w)]

    def window(self, role=None, name=None):
        """The newest showing top-level window with that role whose name contains name."""
        for w in reversed(self.windows()):
            if (role is None or role_of(w) == role) and (name is None or name in name_of(w)):
                return w
        return None

    def dialog(self, name, timeout=10.0):
        return wait("a window named " + name,
                    lambda: next((w for w in reversed(self.windows())
                                  if role_of(w) != "frame" and name in name_of(w)), None), timeout)

    def gone(self, window, timeout=10.0):
        wait("the window to close", lambda: all(w != window for w in self.windows()), timeout)

    def all(self, root, role=None, name=None, match=None):
        root.clear_cache()
        return [o for o in descendants(root)
                if (role is None or role_of(o) == role)
                and (name is None or name_of(o) == name)
                and (match is None or re.search(match, name_of(o)))]

    def find(self, root, role=None, name=None, match=None, timeout=10.0):
        what = "%s %s in %s" % (role or "control", name or match, name_of(root) or role_of(root))
        return wait(what, lambda: next(iter(self.all(root, role, name, match)), None), timeout)

    def check(self, o):
        """The rectangle is non-empty and inside the window holding it; prints it and returns it."""
        r = rect(o)
        top = o
        while top.get_parent() is not None and role_of(top.get_parent()) != "application":
            top = top.get_parent()
        bounds = rect(top)
        self.log("  %-12s %-24s %s" % (role_of(o), name_of(o)[:24], "%d,%d %dx%d" % r))
        if r[2] <= 0 or r[3] <= 0:
            raise RouteError("empty rectangle for %r" % name_of(o))
        if not inside(r, bounds) or (top != self.main and not inside(r, rect(self.main))):
            raise RouteError("%r at %s lies outside its window %s" % (name_of(o), r, rect(top)))
        self.touched += 1
        return r

    def click(self, o, settle=0.3):
        # Some buttons wake up a moment after their window shows.
        wait("%r to be enabled" % name_of(o), lambda: o.get_state_set().contains(STATE.ENABLED), 5)
        x, y, w, h = self.check(o)
        self.pointer(x + w / 2, y + h / 2)
        xdotool("click", "1")
        time.sleep(settle)

    def pointer(self, x, y):
        xdotool("mousemove", "--sync", str(round(x * self.ratio)), str(round(y * self.ratio)))

    def press(self, root, name, role="push button", settle=0.3):
        self.click(self.find(root, role=role, name=name), settle)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def screen_width(window_id):
    """The width in screen pixels of an X window."""
    out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window_id],
                         check=True, capture_output=True, text=True).stdout
    return int(re.search(r"^WIDTH=(\d+)", out, re.M).group(1))


CHOICE = r"^\d\. "
LATIN = re.compile("[A-Za-z]")


def box(lexora, title, timeout=10.0):
    """A message box and the text it says."""
    alert = lexora.dialog(title, timeout)
    return alert, " ".join(name_of(o) for o in lexora.all(alert, role="label"))


def close_box(lexora, alert, button="确定"):
    lexora.click(lexora.find(alert, role="push button", match="^" + button))
    lexora.gone(alert)


def first_of(probes, timeout):
    """Waits for the first of several named outcomes; None when none comes in time."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for outcome, probe in probes.items():
            if probe():
                return outcome
        time.sleep(0.1)
    return None


def alert_saying(lexora, text):
    return lambda: next((w for w in lexora.windows() if role_of(w) == "alert"
                         and any(text in name_of(o) for o in lexora.all(w, role="label"))), None)


def back_to_reader(lexora):
    lexora.press(lexora.main, "Lexora", settle=1)
    lexora.find(lexora.main, role="push button", name="列表显示")


def test_route(lexora, meanings):
    """A recognition test to its end box, the first choice tried first; then the reader again."""
    lexora.press(lexora.main, "单元测试", settle=1)
    asked = wrong = 0
    while True:
        progress = lexora.find(lexora.main, role="label", match="^测试进度")
        before = fresh_name(progress).strip()
        lexora.click(lexora.find(lexora.main, role="radio button", match=CHOICE))
        while True:
            lexora.press(lexora.main, "确定", settle=0.1)
            outcome = first_of({
                "wrong": lambda: lexora.window(role="alert", name="错啦！"),
                "end": lambda: lexora.window(role="alert", name="单词认知测试"),
                "right": lambda: fresh_name(progress).strip() != before,
            }, 15)
            if outcome != "wrong":
                break
            wrong += 1
            alert, text = box(lexora, "错啦！")
            english, chinese = re.search(r"：\s*(.+?) : (.+)$", text).groups()
            meanings[english] = chinese
            close_box(lexora, alert)
            lexora.click(lexora.find(lexora.main, role="radio button", match=CHOICE + re.escape(chinese) + "$"))
        if outcome is None:
            raise RouteError("no verdict after an answer")
        asked += 1
        if outcome == "end":
            alert, text = box(lexora, "单词认知测试")
            close_box(lexora, alert)
            break
    if wrong:
        lexora.find(lexora.main, name="单词列表")
    back_to_reader(lexora)
    return "%d questions, %d wrong answers; end box: %s" % (asked, wrong, text)


def is_card(o):
    return role_of(o) == "push button" and o.get_child_count() > 0 and name_of(o)


def partner_of(card, cards, meanings, tried):
    """The card that should match, from the picture's name or a learnt meaning; else an untried guess."""
    if card.startswith("图片："):
        return card[len("图片："):]
    if "图片：" + card in cards:
        return "图片：" + card
    for english, chinese in meanings.items():
        if card == english and chinese in cards:
            return chinese
        if card == chinese and english in cards:
            return english
    latin = bool(LATIN.search(card))
    return next((c for c in cards if not c.startswith("图片：") and bool(LATIN.search(c)) != latin
                 and (card, c) not in tried), None)


def matching_route(lexora, meanings):
    """A matching game until its winning box; unknown meanings are learnt by trying pairs."""
    lexora.press(lexora.main, "单词连连看", settle=1)
    won, lost = alert_saying(lexora, "恭喜你过关啦"), alert_saying(lexora, "没有过关啊")
    tried, pairs, misses, deals = set(), 0, 0, 1
    while True:
        cards = {name_of(c): c for c in lexora.all(lexora.main, match=".") if is_card(c)}
        if not cards:
            close_box(lexora, wait("the winning box", won))
            break
        card = next(iter(cards))
        other = partner_of(card, cards, meanings, tried)
        if other is None:
            raise RouteError("no card left to try with %r" % card)
        lexora.click(cards[card], settle=0.1)
        lexora.click(cards[other], settle=0.1)
        outcome = first_of({"won": won, "lost": lost,
                            "match": lambda: not showing(cards[card]) and not showing(cards[other])}, 4)
        if outcome in ("won", "match"):
            pairs += 1
            if LATIN.search(card) and not LATIN.search(other):
                meanings[card] = other
            elif LATIN.search(other) and not LATIN.search(card):
                meanings[other] = card
        else:
            misses += 1
            tried.update({(card, other), (other, card)})
        if outcome == "won":
            close_box(lexora, won())
            break
        if outcome == "lost":
            close_box(lexora, lost())
            deals += 1
    back_to_reader(lexora)
    return "%d deals, %d pairs matched, %d misses" % (deals, pairs, misses)


def answer_quiz(lexora, meanings):
    """Answers the quiz before a word, learning its meaning from a wrong answer; returns the word."""
    quiz = lexora.dialog("是什么意思")
    english = name_of(quiz)[: -len(" 是什么意思？")]
    choice = CHOICE + re.escape(meanings[english]) + "$" if english in meanings else CHOICE
    lexora.click(lexora.find(quiz, role="radio button", match=choice))
    while True:
        lexora.press(quiz, "确定", settle=0.1)
        outcome = first_of({"wrong": lambda: lexora.window(role="alert", name="错啦"),
                            "right": lambda: quiz not in lexora.windows()}, 15)
        if outcome != "wrong":
            return english
        alert, text = box(lexora, "错啦")
        meanings[english] = text.split(";", 1)[1]
        close_box(lexora, alert)
        lexora.click(lexora.find(quiz, role="radio button", match=CHOICE + re.escape(meanings[english]) + "$"))


def letter_of(tile):
    return re.match(r"字母 (.)", name_of(tile)).group(1)


def overlaps(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def centre_of(tile):
    x, y, w, h = rect(tile)
    return (x + w // 2, y + h // 2, 1, 1)


def free_row(tiles, board, count):
    """The left edge, top and step of a row of count + 1 slots that no tile covers, or None."""
    w, h = rect(tiles[0])[2:]
    step = w * 9 // 8
    bx, by, bw, bh = board
    left = bx + w
    if left + step * (count + 1) > bx + bw:
        return None
    for top in range(by + h, by + bh - h, h // 2):
        if not any(overlaps(rect(t), (left, top, step * (count + 1), h)) for t in tiles):
            return left, top, step
    return None


def spell(lexora, word):
    """Lays the word's tiles out in one row; False when the scattered tiles leave no free row.

    A tile is taken by a click, follows the pointer over the bare board and is put down by the next
    click. Each taken tile is first parked just right of the row, where it shows which one came (a
    tile may lie under another), and then put in a place of its letter."""
    tiles = wait("the tiles", lambda: lexora.all(lexora.main, match="^字母 ") or None)
    row = free_row(tiles, rect(tiles[0].get_parent()), len(word))
    if row is None:
        return False
    left, top, step = row
    w, h = rect(tiles[0])[2:]
    places = list(range(len(word)))
    waiting = list(tiles)
    while waiting:
        waiting.sort(key=lambda t: any(o is not t and overlaps(rect(o), centre_of(t)) for o in waiting))
        before = {name_of(t): rect(t) for t in waiting}
        lexora.click(waiting[0], settle=0.1)
        lexora.pointer(left + step * len(word) + w / 2, top + h / 2)
        taken = wait("the tile taken", lambda: next(
            (t for t in waiting if rect(t) != before[name_of(t)]), None), 3)
        waiting.remove(taken)
        place = next(k for k in places if word[k] == letter_of(taken))
        places.remove(place)
        lexora.pointer(left + step * place + w / 2, top + h / 2)
        xdotool("click", "1")
        time.sleep(0.1)
    return True


def close_tip(lexora):
    tip = lexora.dialog("提示信息")
    lexora.press(tip, "OK")
    lexora.gone(tip)


def letter_route(lexora, meanings):
    """A letter game until every word is mastered; the closing question is answered No."""
    lexora.press(lexora.main, "单词排排看", settle=0.5)
    done = alert_saying(lexora, "重来一遍")
    words = scatters = 0
    while True:
        word = answer_quiz(lexora, meanings)
        while not spell(lexora, word):
            scatters += 1
            lexora.click(lexora.find(lexora.main, role="push button", name="我认输啦"))
            close_tip(lexora)
        words += 1
        outcome = first_of({"tip": lambda: lexora.window(role="dialog", name="提示信息"), "done": done}, 15)
        if outcome is None:
            raise RouteError("%r was laid out but not taken" % word)
        if outcome == "done":
            close_box(lexora, done(), "否")
            break
        close_tip(lexora)
    lexora.find(lexora.main, role="push button", name="列表显示")
    return "%d words laid out, %d given up for a new scatter" % (words, scatters)


def dump(o, depth=0):
    """Prints what the bus shows below o, for a failed route."""
    print("  " * depth + "[%s] %r %s" % (role_of(o), name_of(o), "%d,%d %dx%d" % rect(o)))
    for i in range(o.get_child_count()):
        c = o.get_child_at_index(i)
        if c is not None and showing(c):
            dump(c, depth + 1)


ROUTES = {"test": test_route, "matching": matching_route, "letters": letter_route}


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("program")
    parser.add_argument("--scale", default="1")
    parser.add_argument("--full-screen", action="store_true", help="size the window to the screen first")
    parser.add_argument("routes", nargs="*", default=list(ROUTES))
    args = parser.parse_intermixed_args()
    Atspi.init()
    # Asking the desktop starts the accessibility bus and its registry, which Qt looks for at start.
    Atspi.get_desktop(0).get_child_count()
    where = "scale %s%s" % (args.scale, ", screen-sized window" if args.full_screen else "")
    lexora = Lexora(args.program, args.scale, print)
    failed = False
    try:
        if args.full_screen:
            # What a window manager gives on F11; this display has none to honour the key.
            xdotool("windowsize", "--sync", lexora.window_id, *map(str, screen_size()))
            wait("the window to fill the screen",
                 lambda: round(rect(lexora.main)[2] * lexora.ratio) == screen_size()[0], 5)
        print("main window: %d,%d %dx%d over the bus" % rect(lexora.main),
              "(%.2f screen pixels each)" % lexora.ratio)
        meanings = {}
        for route in args.routes:
            print("%s, %s:" % (where, route))
            started = time.monotonic()
            touched = lexora.touched
            try:
                summary = ROUTES[route](lexora, meanings)
            except RouteError as e:
                failed = True
                print("the windows at the failure:")
                for w in lexora.windows():
                    dump(w, 1)
                print("FAILED %s, %s: %s" % (where, route, e))
                break
            print("finished %s, %s in %.0f s: %s; %d controls clicked, every rectangle inside its window"
                  % (where, route, time.monotonic() - started, summary, lexora.touched - touched))
    finally:
        lexora.close()
    return 1 if failed else 0


def screen_size():
    out = subprocess.run(["xdotool", "getdisplaygeometry"], check=True, capture_output=True, text=True)
    return tuple(int(v) for v in out.stdout.split())


if __name__ == "__main__":
    sys.exit(main())
