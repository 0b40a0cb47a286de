#!/usr/bin/env python3
"""The independent reader of the message decoder's interop test.

  msmsg_peer.py generate FOLDER   writes a corpus of well-formed one-level messages
  msmsg_peer.py describe FILE...  prints what Python's email package reads in each:

    message <file name>
    subject <hex of the decoded bytes>
    body <sha256 of the text, CR LF line ends, ending with one unless empty>
    attachment <sha256 of the bytes> <name as decoded bytes, "-" when unnamed>
"""
import email
import email.charset
import email.policy
import hashlib
import os
import random
import sys
from email.header import Header, decode_header
from email.mime.application import MIMEApplication
from email.mime.multipart import MIMEMultipart
from email.mime.text import MIMEText
from email.utils import formataddr

WORDS = ['alpha', 'beta', 'gamma', 'delta', 'Gr\u00fc\u00dfe', 'caf\u00e9', 'x=y', '=3D', 'tab\there',
         'trailing ', 'a' * 90, '.', '..', '--not-a-boundary', 'end']


def text(rng, lines):
    out = []
    for _ in range(lines):
        out.append(' '.join(rng.choice(WORDS) for _ in range(rng.randint(0, 8))))
    return '\n'.join(out) + rng.choice(['\n', '', '\n\n'])


def text_part(rng, subtype, encoding):
    charset = email.charset.Charset('utf-8')
    charset.body_encoding = email.charset.QP if encoding == 'qp' else email.charset.BASE64
    return MIMEText(text(rng, rng.randint(1, 12)), subtype, charset)


def attachment(rng, index, crlf):
    kind = rng.choice(['binary', 'qp', '7bit'] if crlf else ['binary'])
    if kind == 'binary':
        data = bytes(rng.randrange(256) for _ in range(rng.choice([0, 1, 2, 3, 57, 114, 500])))
        part = MIMEApplication(data, 'octet-stream')
    elif kind == 'qp':
        charset = email.charset.Charset('utf-8')
        charset.body_encoding = email.charset.QP
        part = MIMEText(text(rng, rng.randint(1, 5)), 'plain', charset)
    else:
        part = MIMEText('plain 7bit line\nsecond line\n', 'plain', 'us-ascii')
    name = rng.choice(['file%d.bin' % index, 'report %d.txt' % index, 'r\u00e9sum\u00e9%d.txt' % index])
    if not name.isascii():
        name = Header(name, 'utf-8').encode()
    how = rng.choice(['type', 'disposition', 'both'])
    if how in ('type', 'both'):
        part.set_param('name', name)
    if how in ('disposition', 'both'):
        part.add_header('Content-Disposition', 'attachment', filename=name)
    return part


def message(rng, number):
    crlf = number % 3 != 0
    shape = rng.choice(['mixed', 'alternative', 'single-text', 'single-attachment'])
    if shape == 'mixed':
        msg = MIMEMultipart('mixed')
        msg.attach(text_part(rng, 'plain', rng.choice(['qp', 'base64'])))
        for index in range(rng.randint(1, 3)):
            msg.attach(attachment(rng, index, crlf))
    elif shape == 'alternative':
        msg = MIMEMultipart('alternative')
        msg.attach(text_part(rng, 'plain', rng.choice(['qp', 'base64'])))
        # Quoted-printable keeps the message's own line ends in Python and gives CR LF here.
        msg.attach(text_part(rng, 'html', rng.choice(['qp', 'base64'] if crlf else ['base64'])))
    elif shape == 'single-text':
        msg = text_part(rng, 'plain', rng.choice(['qp', 'base64']))
    else:
        msg = attachment(rng, 0, crlf)
        if msg.get_filename() is None and msg.get_param('name') is None:
            msg.set_param('name', 'only.bin')
    msg['From'] = formataddr((rng.choice(['Ann Example', 'J\u00fcrgen M\u00fcller']), 'sender@example.org'))
    msg['To'] = 'rcpt@example.org'
    msg['Subject'] = Header(rng.choice(['Hello', 'Gr\u00fc\u00dfe aus K\u00f6ln', 'caf\u00e9 and more']), 'utf-8')
    policy = email.policy.compat32.clone(linesep='\r\n' if crlf else '\n')
    return msg.as_bytes(policy=policy)


def generate(folder):
    rng = random.Random(20240501)
    for number in range(60):
        with open(os.path.join(folder, 'gen%02d.eml' % number), 'wb') as out:
            out.write(message(rng, number))


def decoded(value):
    if value is None:
        return b''
    return b''.join(part if isinstance(part, bytes) else part.encode('latin-1')
                    for part, _ in decode_header(str(value)))


def crlf_text(data):
    lines = data.replace(b'\r\n', b'\n').replace(b'\r', b'\n').split(b'\n')
    if lines and lines[-1] == b'':
        lines.pop()
    return b''.join(line + b'\r\n' for line in lines)


def describe(files):
    out = []
    for name in files:
        with open(name, 'rb') as source:
            msg = email.message_from_bytes(source.read())
        out.append('message %s' % os.path.basename(name))
        out.append('subject %s' % decoded(msg['Subject']).hex())
        leaves = [part for part in msg.walk() if not part.is_multipart()]
        body = b''
        # A message of one text part is its body unless its type names a file.
        if leaves and leaves[0].get_content_maintype() == 'text' and not (
                not msg.is_multipart() and leaves[0].get_param('name')):
            body = leaves.pop(0).get_payload(decode=True)
        out.append('body %s' % hashlib.sha256(crlf_text(body)).hexdigest())
        for part in leaves:
            name = part.get_param('name') or part.get_filename()
            label = decoded(name).decode('utf-8', 'replace') if name else '-'
            out.append('attachment %s %s' % (hashlib.sha256(part.get_payload(decode=True)).hexdigest(), label))
    sys.stdout.write('\n'.join(out) + '\n')


if __name__ == '__main__':
    if sys.argv[1] == 'generate':
        generate(sys.argv[2])
    else:
        describe(sys.argv[2:])
