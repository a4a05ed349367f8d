# -*- coding: utf-8 -*-
# Copyright: 2026 the swcfg developers
# GNU General Public License v3.0+ (see LICENSE or https://www.gnu.org/licenses/gpl-3.0.txt)
"""swcfg.switch.config on the controller: fills in where a backup goes, as Ansible's network
modules do (backup/<inventory_hostname>_config.<date>@<time>.bin beside the playbook), then runs
the module."""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import datetime

from ansible.module_utils.parsing.convert_bool import boolean
from ansible.plugins.action import ActionBase
from ansible_collections.swcfg.switch.plugins.module_utils.swcfgctl import backup_options


class ActionModule(ActionBase):

    def _playbook_folder(self):
        role = self._task._role
        return role._role_path if role is not None else self._loader.get_basedir()

    def run(self, tmp=None, task_vars=None):
        task_vars = task_vars or {}
        result = super(ActionModule, self).run(tmp, task_vars)
        args = dict(self._task.args)
        if boolean(args.get('backup', False), strict=False):
            args['backup_options'] = backup_options(
                args.get('backup_options'), self._playbook_folder(),
                task_vars.get('inventory_hostname', 'switch'), datetime.datetime.now())
        result.update(self._execute_module(module_name='swcfg.switch.config', module_args=args,
                                           task_vars=task_vars))
        return result
