#!/usr/bin/python3
"""Serves the files of a folder on 127.0.0.1, answering every request after a
fixed delay, as a member's distant server would. Many requests are served at
once. Prints "port N" once it listens.

Usage: slow_http_server.py FOLDER DELAY_SECONDS
"""
import functools
import http.server
import sys
import time


class SlowHandler(http.server.SimpleHTTPRequestHandler):
    delay = 0.1

    def do_GET(self):
        time.sleep(self.delay)
        super().do_GET()

    def log_message(self, *args):
        pass


def main():
    folder, delay = sys.argv[1], float(sys.argv[2])
    SlowHandler.delay = delay
    handler = functools.partial(SlowHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    server.request_queue_size = 128
    print("port", server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
