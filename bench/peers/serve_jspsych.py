#!/usr/bin/env python3
"""Serves the jsPsych peer's page and the jsPsych packages on 127.0.0.1 and prints
each reaction time the page posts ("rt <ms>").
   serve_jspsych.py PAGE_DIR NODE_MODULES_DIR PORT"""
import http.server
import os
import sys

page_dir, modules_dir, port = sys.argv[1], sys.argv[2], int(sys.argv[3])


class Handler(http.server.SimpleHTTPRequestHandler):
    def translate_path(self, path):
        path = path.split("?", 1)[0]
        if path.startswith("/node_modules/"):
            return os.path.join(modules_dir, path[len("/node_modules/"):])
        return os.path.join(page_dir, path.lstrip("/") or "index.html")

    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", 0))).decode()
        if self.path == "/rt":
            print(f"rt {body}", flush=True)
        self.send_response(204)
        self.end_headers()

    def log_message(self, *args):
        pass


http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler).serve_forever()
