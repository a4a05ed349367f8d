# -*- coding: utf-8 -*-
# Copyright: 2026 the swcfg developers
# GNU General Public License v3.0+ (see LICENSE or https://www.gnu.org/licenses/gpl-3.0.txt)
"""What the swcfg.switch modules share: their options checked, the swcfgctl command lines they
run, and what swcfgctl's answers mean to Ansible. Every decoding, encoding and check of a
configuration stays in swcfgctl."""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json
import os

MODELS = ('24', '24sx', '32')
DOCUMENT_HEAD = (('format', 'swcfg-config'), ('version', 1))

NOT_FOUND = ('swcfgctl was not found on PATH: install the swcfg package, or give its path as '
             'swcfgctl_path')


def model_name(value):
    """The model as swcfgctl and the document name it ('24', '24sx', '32'); None for anything
    else. A play may give 24 and 32 as numbers."""
    if isinstance(value, bool) or not isinstance(value, (str, int)):
        return None
    name = str(value).strip().lower()
    return name if name in MODELS else None


def option_problem(params, wants_target=True):
    """Why the options cannot be used, in a technician's words; None when they can."""
    if model_name(params.get('model')) is None:
        return 'model must be 24, 24sx or 32, not %r' % (params.get('model'),)
    port = params.get('port') or ''
    if not port.strip():
        return 'port is empty: give the switch\'s port (COM1, /dev/ttyUSB0, tcp://HOST:PORT)'
    if ',' in port:
        return 'port %r names several ports: a task reaches one switch' % port
    if wants_target:
        given = [name for name in ('config', 'src') if params.get(name) is not None]
        if len(given) != 1:
            return ('give the settings as config (a document) or the image as src (a *.bin '
                    'file): exactly one of them, not %s' % ('both' if given else 'neither'))
    return None


def document(config, model):
    """The document swcfgctl takes: `config` with format, version and model filled in where it
    leaves them out. What it names itself is passed on as it is, for swcfgctl to check."""
    full = dict(DOCUMENT_HEAD)
    full['model'] = model
    for key, value in config.items():
        # YAML gives "model: 24" as a number.
        if key == 'model' and model_name(value) is not None and not isinstance(value, str):
            value = str(value)
        full[key] = value
    return full


def write_command(swcfgctl, port, model, src=None, dry_run=False, backup=None):
    """The one swcfgctl run that reads the switch, keeps what it held (backup), and writes only
    the words that differ from src, or from the document it reads on standard input."""
    command = [swcfgctl, 'write', '--model', model, '--port', port, '--changed-only', '--json']
    if backup:
        command += ['--backup', backup]
    if dry_run:
        command.append('--dry-run')
    command += ['--config', '-'] if src is None else ['--', src]
    return command


def read_command(swcfgctl, port, model, output):
    return [swcfgctl, 'read', '--model', model, '--port', port, '-o', output]


def show_command(swcfgctl, model, image, as_json=False):
    return [swcfgctl, 'show', '--model', model] + (['--json'] if as_json else []) + ['--', image]


def apply_command(swcfgctl, model, image, output):
    """The image a document (on standard input) makes of `image`: what a write of it leaves."""
    return [swcfgctl, 'apply', '--model', model, '--config', '-', '--in', image, '-o', output]


def port_report(stdout):
    """The summary object of the one port a write ran on; None when swcfgctl printed none (it
    stopped before it tried the port)."""
    try:
        rows = json.loads(stdout)
    except ValueError:
        return None
    if isinstance(rows, list) and len(rows) == 1 and isinstance(rows[0], dict):
        return rows[0]
    return None


def failure_message(rc, report, stderr):
    """swcfgctl's message whole: the port's messages, or what it said before any port."""
    messages = (report or {}).get('messages') or []
    if messages:
        return '\n'.join(messages)
    text = (stderr or '').strip()
    return text or 'swcfgctl ended with status %d and said nothing' % rc


def write_result(report, dry_run):
    """What a write did to the switch, as the module returns it. In a dry run, changed says
    whether a write would have changed a word."""
    report = report or {}
    written = int(report.get('words_written') or 0)
    differing = int(report.get('words_differing') or 0)
    return {
        'changed': differing > 0 if dry_run else written > 0,
        'words_written': written,
        'restarted': bool(report.get('restarted')),
    }


def backup_filename(hostname, when):
    """<host>_config.<date>@<time>.bin, as Ansible's network modules name their backups."""
    return '%s_config.%s@%s.bin' % (hostname, when.strftime('%Y-%m-%d'),
                                    when.strftime('%H:%M:%S'))


def backup_options(options, playbook_folder, hostname, when):
    """backup_options as the module gets them: the folder made absolute from the playbook's,
    backup/ there by default, and the file named after the host and the time."""
    filled = dict(options or {})
    folder = os.path.expanduser(filled.get('dir_path') or 'backup')
    filled['dir_path'] = os.path.join(playbook_folder, folder)
    if not filled.get('filename'):
        filled['filename'] = backup_filename(hostname, when)
    return filled


def backup_path(options):
    """Where backup_options (filled in by the action plugin) put the backup."""
    options = options or {}
    return os.path.join(options.get('dir_path') or 'backup',
                        options.get('filename') or 'switch_config.bin')


def find_swcfgctl(module):
    """swcfgctl_path, or swcfgctl on PATH; fails the task when there is none."""
    given = module.params.get('swcfgctl_path')
    if given:
        if not (os.path.isfile(given) and os.access(given, os.X_OK)):
            module.fail_json(msg='swcfgctl_path %s is not a program that can be run' % given)
        return given
    found = module.get_bin_path('swcfgctl')
    if not found:
        module.fail_json(msg=NOT_FOUND)
    return found


def run(module, command, data=None):
    """Runs swcfgctl; (status, standard output, standard error)."""
    return module.run_command(command, data=data, binary_data=True)


def document_text(config, model):
    return json.dumps(document(config, model), sort_keys=True)
