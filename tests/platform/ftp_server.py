"""A local FTP server for the tests: pyftpdlib on 127.0.0.1 on a free port.

Writes the port it listens on to --port-file once it accepts connections.
With --raw every upload is stored exactly as it came over the wire, so a test
can see the bytes the client sent even in ASCII mode.
"""
import argparse
import os

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


class WireDTPHandler(DTPHandler):
    def enable_receiving(self, type, cmd):
        super().enable_receiving('i', cmd)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--root', required=True)
    parser.add_argument('--port-file', required=True)
    parser.add_argument('--user', default='ranker')
    parser.add_argument('--password', default='secret')
    parser.add_argument('--raw', action='store_true')
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm='elradfmwMT')
    handler = FTPHandler
    handler.authorizer = authorizer
    if args.raw:
        handler.dtp_handler = WireDTPHandler
    server = FTPServer(('127.0.0.1', 0), handler)
    port = server.socket.getsockname()[1]
    temp = args.port_file + '.tmp'
    with open(temp, 'w') as out:
        out.write('%d\n' % port)
    os.replace(temp, args.port_file)
    server.serve_forever()


if __name__ == '__main__':
    main()
