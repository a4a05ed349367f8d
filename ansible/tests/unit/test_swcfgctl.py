# Copyright: 2026 the swcfg developers
# GNU General Public License v3.0+ (see LICENSE or https://www.gnu.org/licenses/gpl-3.0.txt)
# The modules' own logic where the playbook tests do not reach it, a table of rows per test: the
# options checked, what they make of swcfgctl's summary, and the backup's name.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import datetime
import json
import unittest

from ansible_collections.swcfg.switch.plugins.module_utils import swcfgctl as ctl

BOTH = 'give the settings as config (a document) or the image as src (a *.bin file): exactly ' \
    'one of them, not '


class ModuleLogicTest(unittest.TestCase):

    def rows(self, rows, check):
        for row in rows:
            with self.subTest(row[0]):
                check(*row[1:])

    def test_options(self):
        good = {'port': 'tcp://console1:3001', 'model': '24sx', 'config': {}, 'src': None}
        self.rows([
            ('a document', {}, None),
            ('an image, 24 a number', {'config': None, 'src': 'a.bin', 'model': 24}, None),
            ('model 24SX', {'model': ' 24SX '}, None),
            ('an unknown model', {'model': 48}, 'model must be 24, 24sx or 32, not 48'),
            ('the list index', {'model': '1'}, "model must be 24, 24sx or 32, not '1'"),
            ('no port', {'port': ' '}, "port is empty: give the switch's port (COM1, "
             "/dev/ttyUSB0, tcp://HOST:PORT)"),
            ('two ports', {'port': 'COM1,COM2'},
             "port 'COM1,COM2' names several ports: a task reaches one switch"),
            ('both', {'src': 'a.bin'}, BOTH + 'both'),
            ('neither', {'config': None}, BOTH + 'neither'),
        ], lambda change, problem: self.assertEqual(ctl.option_problem(dict(good, **change)),
                                                    problem))
        self.assertIsNone(ctl.option_problem({'port': 'COM1', 'model': 32}, wants_target=False))

    def test_summary(self):
        port = {'status': 3, 'messages': ['COM Port Open Error !', '/dev/x: gone']}
        self.rows([
            ('the port said it', json.dumps([port]), '', 'COM Port Open Error !\n/dev/x: gone'),
            ('said before any port', '', 'doc.json: ports.7.storm: unknown key\n',
             'doc.json: ports.7.storm: unknown key'),
            ('not JSON', '[{"status": 3', 'x\n', 'x'),
            ('two ports', json.dumps([port, port]), '', 'swcfgctl ended with status 3 and said '
             'nothing'),
        ], lambda stdout, stderr, message: self.assertEqual(
            ctl.failure_message(3, ctl.port_report(stdout), stderr), message))
        self.rows([
            ('written', {'words_written': 2, 'restarted': True}, False, (True, 2, True)),
            ('held already', {'words_written': 0, 'words_differing': 0}, False, (False, 0, False)),
            ('a dry run that would write', {'words_differing': 5}, True, (True, 0, False)),
            ('a dry run, nothing to write', {'words_differing': 0}, True, (False, 0, False)),
            ('no summary', None, False, (False, 0, False)),
        ], lambda report, dry_run, result: self.assertEqual(
            ctl.write_result(report, dry_run),
            dict(zip(('changed', 'words_written', 'restarted'), result))))

    def test_backup_path(self):
        when = datetime.datetime(2026, 3, 2, 9, 5, 7)
        self.rows([
            ('beside the playbook', None, '/site/backup/sw1_config.2026-03-02@09:05:07.bin'),
            ('a folder of its own', {'dir_path': '/keep'},
             '/keep/sw1_config.2026-03-02@09:05:07.bin'),
            ("a folder in the playbook's", {'dir_path': 'kept', 'filename': 'a.bin'},
             '/site/kept/a.bin'),
        ], lambda options, path: self.assertEqual(
            ctl.backup_path(ctl.backup_options(options, '/site', 'sw1', when)), path))


if __name__ == '__main__':
    unittest.main()
