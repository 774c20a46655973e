#!/usr/bin/env python3
"""A reaction test as anyone would write it in Tk: after a random wait of 2 to 4 s
a black square is drawn, the clock is read; the key handler reads it again and
prints the difference ("rt <ms>"). The square's place on the screen is the first
argument's (x,y of the window; the square is 100..200 inside it)."""
import random
import sys
import time
import tkinter as tk

x, y = (int(v) for v in (sys.argv[1] if len(sys.argv) > 1 else "0,0").split(","))
root = tk.Tk()
root.title("naive tk peer")
root.geometry(f"400x300+{x}+{y}")
canvas = tk.Canvas(root, width=400, height=300, bg="white", highlightthickness=0)
canvas.pack()
shown_at = None


def show():
    global shown_at
    canvas.create_rectangle(100, 100, 200, 200, fill="black", outline="black", tags="square")
    root.update_idletasks()
    shown_at = time.perf_counter()


def answer(_event):
    global shown_at
    if shown_at is None:
        return
    rt = (time.perf_counter() - shown_at) * 1000.0
    shown_at = None
    canvas.delete("square")
    print(f"rt {rt:.3f}", flush=True)
    root.after(random.randint(2000, 4000), show)


root.bind("<Key>", answer)
root.after(1000 + random.randint(2000, 4000), show)
root.mainloop()
