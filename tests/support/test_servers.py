"""Servers for the publishing tests, on 127.0.0.1 on a free port.

Each prints "PORT PID" once it accepts connections; the test stops it by that
process id.

test_servers.py ftp ROOT PASSWORD [--raw] [--drop-at N] [--stall-at N]
        [--refuse NAME] [--commands LOG] [--slow SECONDS]
    pyftpdlib, user "ranker", serving until stopped. --raw stores uploads as
    they came over the wire (a test sees the bytes the client sent even in
    ASCII mode); --drop-at N drops the connection at the N-th STOR, once;
    --stall-at N never answers the N-th STOR nor anything after it on that
    connection, which stays open; --refuse NAME answers 451 to every STOR of a
    name starting with NAME, after writing a part of it; --commands LOG writes
    every command received; --slow waits that long before each STOR.
test_servers.py proftpd DIR PASSWORD [--implicit | --plain]
    ProFTPD with TLS required (or, --plain, without TLS), user "quenmark",
    files in DIR/root, a self-signed certificate for 127.0.0.1 made in
    DIR/cert.pem. Returns once the server is up.
test_servers.py sshd DIR
    OpenSSH's sshd for the current user, log-in by the key DIR/user (made
    here, as is the host key DIR/host). Returns once the server is up.
"""
import grp
import os
import pwd
import socket
import subprocess
import sys
import time


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def answers(port, greeting):
    """Whether our server is the one at the port: it greets as it should (an
    empty greeting: it takes the connection)."""
    try:
        with socket.create_connection(('127.0.0.1', port), timeout=2) as connection:
            return connection.recv(64).startswith(greeting) if greeting else True
    except OSError:
        return False


def start(make_command, log, greeting):
    """Starts the server on a free port; again on another if some other program
    took the port between the look and the start."""
    for _ in range(3):
        port = free_port()
        with open(log, 'a') as out:
            process = subprocess.Popen(make_command(port), stdin=subprocess.DEVNULL, stdout=out,
                                       stderr=subprocess.STDOUT, start_new_session=True)
        for _ in range(100):
            if process.poll() is not None:
                break
            if answers(port, greeting):
                print(port, process.pid, flush=True)
                return
            time.sleep(0.05)
        process.kill()
        process.wait()
    sys.exit('the server did not start; its log:\n' + open(log).read())


def run(*command):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def proftpd(folder, password, implicit, plain):
    folder = os.path.abspath(folder)
    root = os.path.join(folder, 'root')
    os.makedirs(root, exist_ok=True)
    if not os.path.exists(os.path.join(folder, 'cert.pem')):
        run('openssl', 'req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-days', '2',
            '-keyout', os.path.join(folder, 'key.pem'), '-out', os.path.join(folder, 'cert.pem'),
            '-subj', '/CN=127.0.0.1', '-addext', 'subjectAltName=IP:127.0.0.1')
    hashed = subprocess.run(['openssl', 'passwd', '-6', password], check=True,
                            capture_output=True, text=True).stdout.strip()
    passwd = os.path.join(folder, 'passwd')
    with open(os.open(passwd, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600), 'w') as f:
        f.write(f'quenmark:{hashed}:{os.getuid()}:{os.getgid()}::{root}:/bin/false\n')
    user = pwd.getpwuid(os.getuid()).pw_name
    config = os.path.join(folder, 'proftpd.conf')

    def command(port):
        with open(config, 'w') as f:
            f.write(f"""ServerType standalone
DefaultServer on
Port {port}
DefaultAddress 127.0.0.1
User {user}
Group {grp.getgrgid(os.getgid()).gr_name}
PidFile {folder}/pid
ScoreboardFile {folder}/scoreboard
DelayTable none
WtmpLog off
UseIPv6 off
AuthOrder mod_auth_file.c
AuthUserFile {passwd}
RequireValidShell off
RootLogin on
DefaultRoot ~
AllowOverwrite on
LoadModule mod_tls.c
TLSEngine {'off' if plain else 'on'}
TLSRequired on
TLSRSACertificateFile {folder}/cert.pem
TLSRSACertificateKeyFile {folder}/key.pem
TLSProtocol TLSv1.2 TLSv1.3
{'TLSOptions UseImplicitSSL' if implicit else ''}
SystemLog {folder}/sys.log
TLSLog {folder}/tls.log
""")
        return ['/usr/sbin/proftpd', '-n', '-q', '-c', config]

    start(command, os.path.join(folder, 'log'), b'' if implicit else b'220 ')


def sshd(folder):
    folder = os.path.abspath(folder)
    os.makedirs(folder, exist_ok=True)
    for key in ('host', 'user'):
        if not os.path.exists(os.path.join(folder, key)):
            run('ssh-keygen', '-q', '-t', 'ed25519', '-N', '', '-f', os.path.join(folder, key))
    with open(os.path.join(folder, 'user.pub')) as f:
        public = f.read()
    with open(os.path.join(folder, 'authorized_keys'), 'w') as f:
        f.write(public)
    os.makedirs('/run/sshd', exist_ok=True)
    config = os.path.join(folder, 'sshd_config')

    def command(port):
        with open(config, 'w') as f:
            f.write(f"""Port {port}
ListenAddress 127.0.0.1
HostKey {folder}/host
AuthorizedKeysFile {folder}/authorized_keys
PasswordAuthentication no
KbdInteractiveAuthentication no
PubkeyAuthentication yes
PermitRootLogin prohibit-password
StrictModes no
UsePAM no
PidFile {folder}/pid
Subsystem sftp internal-sftp
""")
        return ['/usr/sbin/sshd', '-D', '-f', config, '-E', os.path.join(folder, 'log')]

    start(command, os.path.join(folder, 'log'), b'SSH-')


def ftp(root, password, options):
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import DTPHandler, FTPHandler
    from pyftpdlib.servers import FTPServer

    def option(name):
        return options[options.index(name) + 1] if name in options else None

    drop_at = int(option('--drop-at') or 0)
    slow = float(option('--slow') or 0)
    stall_at = int(option('--stall-at') or 0)
    refused = option('--refuse')
    command_log = option('--commands')
    stores = [0]

    class WireDTPHandler(DTPHandler):
        def enable_receiving(self, type, cmd):
            super().enable_receiving('i', cmd)

    class Handler(FTPHandler):
        def pre_process_command(self, line, cmd, arg):
            if getattr(self, 'stalled', False):
                return
            if command_log:
                with open(command_log, 'a') as log:
                    log.write(line + '\n')
            super().pre_process_command(line, cmd, arg)

        def ftp_STOR(self, file, mode='w'):
            time.sleep(slow)
            stores[0] += 1
            if stores[0] == drop_at:
                self.close()
                return
            if stores[0] == stall_at:
                self.stalled = True
                return
            if refused and os.path.basename(file).startswith(refused):
                with open(file, 'wb') as part:
                    part.write(b'half a page')
                self.respond('451 Local error, try again later.')
                return
            return super().ftp_STOR(file, mode)

    authorizer = DummyAuthorizer()
    authorizer.add_user('ranker', password, root, perm='elradfmwMT')
    Handler.authorizer = authorizer
    if '--raw' in options:
        Handler.dtp_handler = WireDTPHandler
    server = FTPServer(('127.0.0.1', 0), Handler)
    print(server.socket.getsockname()[1], os.getpid(), flush=True)
    server.serve_forever()


def main():
    kind, args = sys.argv[1], sys.argv[2:]
    if kind == 'ftp':
        ftp(args[0], args[1], args[2:])
    elif kind == 'proftpd':
        proftpd(args[0], args[1], '--implicit' in args[2:], '--plain' in args[2:])
    elif kind == 'sshd':
        sshd(args[0])
    else:
        sys.exit('unknown server ' + kind)


if __name__ == '__main__':
    main()
