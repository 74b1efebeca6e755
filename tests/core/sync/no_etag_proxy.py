#!/usr/bin/python3
"""A CalDAV server that gives no ETag on PUT, as some do: a proxy on 127.0.0.1:PORT in front of UPSTREAM_PORT that
drops the ETag header from every PUT answer. Usage: no_etag_proxy.py PORT UPSTREAM_PORT"""
import http.client
import sys
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

UPSTREAM = int(sys.argv[2])
HOP = {"connection", "keep-alive", "transfer-encoding", "content-length"}


class Proxy(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def forward(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length else None
        upstream = http.client.HTTPConnection("127.0.0.1", UPSTREAM)
        headers = {k: v for k, v in self.headers.items() if k.lower() not in HOP}
        upstream.request(self.command, self.path, body, headers)
        answer = upstream.getresponse()
        data = answer.read()
        self.send_response(answer.status, answer.reason)
        for k, v in answer.getheaders():
            if k.lower() in HOP or (self.command == "PUT" and k.lower() == "etag"):
                continue
            self.send_header(k, v)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)
        upstream.close()

    def log_message(self, *args):
        pass

    do_GET = do_PUT = do_DELETE = do_PROPFIND = do_REPORT = do_OPTIONS = do_MKCALENDAR = do_HEAD = forward


ThreadingHTTPServer(("127.0.0.1", int(sys.argv[1])), Proxy).serve_forever()
