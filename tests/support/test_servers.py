"""Servers for the publishing tests, on 127.0.0.1 on a free port. Each prints
"PORT PID" once it accepts connections; the test stops it by that process id.

ftp ROOT PASSWORD [--raw] [--drop-at N] [--stall-at N] [--refuse NAME] [--slow S]
    pyftpdlib, user "ranker". --raw stores uploads as they came over the wire;
    the N-th STOR is dropped (--drop-at, once) or never answered, nor anything
    after it (--stall-at); --refuse answers 451 to every STOR of a name starting
    with NAME after writing a part of it; --slow waits S seconds before each STOR.
proftpd DIR PASSWORD [--implicit | --plain]
    ProFTPD with TLS required (--plain: without), user "quenmark", files in
    DIR/root, a self-signed certificate for 127.0.0.1 in DIR/cert.pem.
sshd DIR
    OpenSSH's sshd for the current user, log-in by the key DIR/user (made here,
    as is the host key DIR/host).
"""
import grp
import os
import pwd
import socket
import subprocess
import sys
import time


def answers(port, greeting):
    """Whether our server is the one at the port: it greets as it should."""
    try:
        with socket.create_connection(('127.0.0.1', port), timeout=2) as connection:
            return connection.recv(64).startswith(greeting) if greeting else True
    except OSError:
        return False


def start(folder, config, make_config, command, greeting):
    """Starts the server on a free port; again on another if some other program
    took the port between the look and the start."""
    log = os.path.join(folder, 'log')
    for _ in range(3):
        with socket.socket() as free:
            free.bind(('127.0.0.1', 0))
            port = free.getsockname()[1]
        with open(config, 'w') as f:
            f.write(make_config(port))
        with open(log, 'a') as out:
            process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=out,
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
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout.strip()


def proftpd(folder, password, implicit, plain):
    root = os.path.join(folder, 'root')
    os.makedirs(root, exist_ok=True)
    if not os.path.exists(os.path.join(folder, 'cert.pem')):
        run('openssl', 'req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-days', '2',
            '-keyout', os.path.join(folder, 'key.pem'), '-out', os.path.join(folder, 'cert.pem'),
            '-subj', '/CN=127.0.0.1', '-addext', 'subjectAltName=IP:127.0.0.1')
    passwd = os.path.join(folder, 'passwd')
    with open(os.open(passwd, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600), 'w') as f:
        f.write(f"quenmark:{run('openssl', 'passwd', '-6', password)}:{os.getuid()}:"
                f"{os.getgid()}::{root}:/bin/false\n")
    config = os.path.join(folder, 'proftpd.conf')
    user, group = pwd.getpwuid(os.getuid()).pw_name, grp.getgrgid(os.getgid()).gr_name
    start(folder, config, lambda port: '\n'.join([
        'ServerType standalone', 'DefaultServer on', f'Port {port}', 'DefaultAddress 127.0.0.1',
        f'User {user}', f'Group {group}', f'PidFile {folder}/pid', 'DelayTable none',
        f'ScoreboardFile {folder}/scoreboard', 'WtmpLog off', 'UseIPv6 off', 'RootLogin on',
        'AuthOrder mod_auth_file.c', f'AuthUserFile {passwd}', 'RequireValidShell off',
        'DefaultRoot ~', 'AllowOverwrite on', 'LoadModule mod_tls.c', 'TLSRequired on',
        f"TLSEngine {'off' if plain else 'on'}", f'TLSRSACertificateFile {folder}/cert.pem',
        f'TLSRSACertificateKeyFile {folder}/key.pem', 'TLSProtocol TLSv1.2 TLSv1.3',
        'TLSOptions UseImplicitSSL' if implicit else '', f'SystemLog {folder}/sys.log',
        f'TLSLog {folder}/tls.log', '']),
        ['/usr/sbin/proftpd', '-n', '-q', '-c', config], b'' if implicit else b'220 ')


def sshd(folder):
    os.makedirs(folder, exist_ok=True)
    for key in ('host', 'user'):
        if not os.path.exists(os.path.join(folder, key)):
            run('ssh-keygen', '-q', '-t', 'ed25519', '-N', '', '-f', os.path.join(folder, key))
    with open(os.path.join(folder, 'user.pub')) as f, \
            open(os.path.join(folder, 'authorized_keys'), 'w') as out:
        out.write(f.read())
    os.makedirs('/run/sshd', exist_ok=True)
    config = os.path.join(folder, 'sshd_config')
    start(folder, config, lambda port: '\n'.join([
        f'Port {port}', 'ListenAddress 127.0.0.1', f'HostKey {folder}/host', 'UsePAM no',
        f'AuthorizedKeysFile {folder}/authorized_keys', 'PasswordAuthentication no',
        'KbdInteractiveAuthentication no', 'PubkeyAuthentication yes', 'StrictModes no',
        'PermitRootLogin prohibit-password', f'PidFile {folder}/pid',
        'Subsystem sftp internal-sftp', '']),
        ['/usr/sbin/sshd', '-D', '-f', config, '-E', os.path.join(folder, 'log')], b'SSH-')


def ftp(root, password, options):
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import DTPHandler, FTPHandler
    from pyftpdlib.servers import FTPServer

    def option(name, default=None):
        return options[options.index(name) + 1] if name in options else default

    drop_at, stall_at = int(option('--drop-at', 0)), int(option('--stall-at', 0))
    slow, refused = float(option('--slow', 0)), option('--refuse')
    stores = [0]

    class WireDTPHandler(DTPHandler):
        def enable_receiving(self, type, cmd):
            super().enable_receiving('i', cmd)

    class Handler(FTPHandler):
        stalled = False

        def pre_process_command(self, line, cmd, arg):
            if not self.stalled:
                super().pre_process_command(line, cmd, arg)

        def ftp_STOR(self, file, mode='w'):
            time.sleep(slow)
            stores[0] += 1
            if stores[0] == drop_at:
                return self.close()
            self.stalled = stores[0] == stall_at
            if self.stalled:
                return
            if refused and os.path.basename(file).startswith(refused):
                with open(file, 'wb') as part:
                    part.write(b'half a page')
                return self.respond('451 Local error, try again later.')
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
        proftpd(os.path.abspath(args[0]), args[1], '--implicit' in args, '--plain' in args)
    elif kind == 'sshd':
        sshd(os.path.abspath(args[0]))
    else:
        sys.exit('unknown server ' + kind)


if __name__ == '__main__':
    main()
