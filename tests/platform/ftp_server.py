"""A local FTP server for the tests: pyftpdlib on 127.0.0.1 on a free port.

usage: ftp_server.py ROOT PASSWORD [--raw]
Prints "PORT PID" once it accepts connections; user name "ranker". With --raw
every upload is stored exactly as it came over the wire, so a test can see the
bytes the client sent even in ASCII mode.
"""
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


class WireDTPHandler(DTPHandler):
    def enable_receiving(self, type, cmd):
        super().enable_receiving('i', cmd)


def main():
    root, password = sys.argv[1:3]
    authorizer = DummyAuthorizer()
    authorizer.add_user('ranker', password, root, perm='elradfmwMT')
    handler = FTPHandler
    handler.authorizer = authorizer
    if '--raw' in sys.argv[3:]:
        handler.dtp_handler = WireDTPHandler
    server = FTPServer(('127.0.0.1', 0), handler)
    print(server.socket.getsockname()[1], os.getpid(), flush=True)
    server.serve_forever()


if __name__ == '__main__':
    main()
