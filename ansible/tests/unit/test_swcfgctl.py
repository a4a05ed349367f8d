# Copyright: 2026 the swcfg developers
"""The modules' own logic: their options checked, the swcfgctl command lines they build, what
they make of swcfgctl's summary, and the backup's name. Each test is a table of rows."""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import datetime
import json
import unittest

from ansible_collections.swcfg.switch.plugins.module_utils import swcfgctl as ctl

GOOD = {'port': 'tcp://console1:3001', 'model': '24sx', 'config': {}, 'src': None}


class OptionsTest(unittest.TestCase):

    def test_option_problem(self):
        rows = [
            ('a document', {}, None),
            ('an image', {'config': None, 'src': 'a.bin'}, None),
            ('24 as a number', {'model': 24}, None),
            ('32 in capitals', {'model': ' 32 '}, None),
            ('24SX', {'model': '24SX'}, None),
            ('an unknown model', {'model': 48}, 'model must be 24, 24sx or 32, not 48'),
            ('the list index', {'model': '1'}, "model must be 24, 24sx or 32, not '1'"),
            ('a flag for a model', {'model': True}, 'model must be 24, 24sx or 32, not True'),
            ('no port', {'port': ' '}, "port is empty: give the switch's port"),
            ('two ports', {'port': 'COM1,COM2'},
             "port 'COM1,COM2' names several ports: a task reaches one switch"),
            ('both', {'src': 'a.bin'}, 'give the settings as config (a document) or the image '
             'as src (a *.bin file): exactly one of them, not both'),
            ('neither', {'config': None}, 'give the settings as config (a document) or the image '
             'as src (a *.bin file): exactly one of them, not neither'),
        ]
        for name, change, problem in rows:
            with self.subTest(name):
                params = dict(GOOD, **change)
                got = ctl.option_problem(params)
                self.assertEqual(got if problem is None else (got or '')[:len(problem)], problem)
        self.assertIsNone(ctl.option_problem({'port': 'COM1', 'model': 32}, wants_target=False))

    def test_document(self):
        head = {'format': 'swcfg-config', 'version': 1, 'model': '24sx'}
        rows = [
            ('filled in', {'ports': {'7': {'learning': False}}},
             dict(head, ports={'7': {'learning': False}})),
            ('a model named as a number', {'model': 24}, dict(head, model='24')),
            # What the play names is passed on for swcfgctl to refuse.
            ('another model', {'model': '32'}, dict(head, model='32')),
            ('another format', {'format': 'x', 'version': 2}, dict(head, format='x', version=2)),
        ]
        for name, config, document in rows:
            with self.subTest(name):
                self.assertEqual(ctl.document(config, '24sx'), document)
                self.assertEqual(json.loads(ctl.document_text(config, '24sx')), document)


class CommandLinesTest(unittest.TestCase):

    def test_commands(self):
        rows = [
            ('a document', ctl.write_command('swcfgctl', 'COM1', '24', backup='/b/sw1.bin'),
             'swcfgctl write --model 24 --port COM1 --changed-only --json --backup /b/sw1.bin '
             '--config -'),
            ('an image, checked only',
             ctl.write_command('ctl', 'tcp://h:1', '32', src='-x.bin', dry_run=True),
             'ctl write --model 32 --port tcp://h:1 --changed-only --json --dry-run -- -x.bin'),
            ('read', ctl.read_command('ctl', '/dev/ttyUSB0', '24sx', '/t/s.bin'),
             'ctl read --model 24sx --port /dev/ttyUSB0 -o /t/s.bin'),
            ('show', ctl.show_command('ctl', '24', '/t/s.bin'), 'ctl show --model 24 -- /t/s.bin'),
            ('show as JSON', ctl.show_command('ctl', '24', '-s.bin', as_json=True),
             'ctl show --model 24 --json -- -s.bin'),
            ('apply', ctl.apply_command('ctl', '32', '/t/b.bin', '/t/a.bin'),
             'ctl apply --model 32 --config - --in /t/b.bin -o /t/a.bin'),
        ]
        for name, command, line in rows:
            with self.subTest(name):
                self.assertEqual(' '.join(command), line)


class SummaryTest(unittest.TestCase):

    def test_port_report(self):
        row = {'status': 0, 'words_written': 3}
        rows = [
            ('one port', json.dumps([row]), row),
            ('nothing printed', '', None),
            ('not JSON', '[{"status": 0', None),
            ('two ports', json.dumps([row, row]), None),
            ('not an object', '[3]', None),
        ]
        for name, stdout, report in rows:
            with self.subTest(name):
                self.assertEqual(ctl.port_report(stdout), report)

    def test_failure_message(self):
        rows = [
            ('the port said it', 3, {'messages': ['COM Port Open Error !', '/dev/x: gone']},
             'refused', 'COM Port Open Error !\n/dev/x: gone'),
            ('said before any port', 2, None,
             'standard input: ports.7.storm: unknown key\n', 'standard input: ports.7.storm: '
             'unknown key'),
            ('a port that said nothing', 4, {'messages': []}, 'table\n', 'table'),
            ('silence', 4, None, '', 'swcfgctl ended with status 4 and said nothing'),
        ]
        for name, rc, report, stderr, message in rows:
            with self.subTest(name):
                self.assertEqual(ctl.failure_message(rc, report, stderr), message)

    def test_write_result(self):
        rows = [
            ('written', {'words_written': 2, 'restarted': True, 'words_differing': 2}, False,
             (True, 2, True)),
            ('held already', {'words_written': 0, 'restarted': False, 'words_differing': 0}, False,
             (False, 0, False)),
            ('a dry run that would write', {'words_written': 0, 'words_differing': 5}, True,
             (True, 0, False)),
            ('a dry run with nothing to write', {'words_differing': 0}, True, (False, 0, False)),
            ('written, not verified', {'words_written': 1, 'restarted': False}, False,
             (True, 1, False)),
            ('no summary', None, False, (False, 0, False)),
        ]
        for name, report, dry_run, (changed, written, restarted) in rows:
            with self.subTest(name):
                self.assertEqual(ctl.write_result(report, dry_run),
                                 {'changed': changed, 'words_written': written,
                                  'restarted': restarted})


class BackupTest(unittest.TestCase):

    def test_backup_names(self):
        when = datetime.datetime(2026, 3, 2, 9, 5, 7)
        self.assertEqual(ctl.backup_filename('sw1', when), 'sw1_config.2026-03-02@09:05:07.bin')
        rows = [
            ('beside the playbook', None, '/site/backup/sw1_config.2026-03-02@09:05:07.bin'),
            ('a folder of its own', {'dir_path': '/keep'},
             '/keep/sw1_config.2026-03-02@09:05:07.bin'),
            ('a folder in the playbook\'s', {'dir_path': 'kept', 'filename': 'a.bin'},
             '/site/kept/a.bin'),
            ('a name of its own', {'filename': 'sw1.bin'}, '/site/backup/sw1.bin'),
        ]
        for name, options, path in rows:
            with self.subTest(name):
                filled = ctl.backup_options(options, '/site', 'sw1', when)
                self.assertEqual(ctl.backup_path(filled), path)
        self.assertEqual(ctl.backup_path(None), 'backup/switch_config.bin')


if __name__ == '__main__':
    unittest.main()
