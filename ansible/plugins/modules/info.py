#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: 2026 the swcfg developers
# GNU General Public License v3.0+ (see LICENSE or https://www.gnu.org/licenses/gpl-3.0.txt)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
module: info
short_description: Reads the configuration an EEPROM-configured Ethernet switch holds
description:
  - Reads every device of the switch with swcfgctl and returns its configuration document (as
    C(swcfgctl show --json) prints it) and model as the fact C(swcfg), for a play to assert on
    or template from.
  - Run on an inventory (C(ansible switches -m swcfg.switch.info -a ...)), it gives the settings
    of the whole fleet. Nothing is written to the switch.
version_added: 0.1.0
author:
  - the swcfg developers (@swcfg)
extends_documentation_fragment:
  - swcfg.switch.switch
'''

EXAMPLES = r'''
- name: Read the switch
  swcfg.switch.info:
    port: "{{ swcfg_port }}"
    model: "{{ swcfg_model }}"

- name: Port 7 keeps storm control
  ansible.builtin.assert:
    that: swcfg.config.ports["7"].storm_control
'''

RETURN = r'''
ansible_facts:
  description: What the switch holds.
  returned: success
  type: complex
  contains:
    swcfg:
      description: The switch's model, port and configuration.
      type: complex
      contains:
        model:
          description: The model, C(24), C(24sx) or C(32).
          type: str
          sample: 24sx
        port:
          description: The port it was read on.
          type: str
          sample: tcp://console1:3001
        config:
          description: The configuration document, with C(format), C(version), C(model),
            C(ports), C(trunks) and C(vlans).
          type: dict
msg:
  description: swcfgctl's message, whole, when the task failed.
  returned: failed
  type: str
rc:
  description: swcfgctl's exit status when the task failed.
  returned: failed
  type: int
stderr:
  description: Everything swcfgctl said, when the task failed.
  returned: failed
  type: str
'''

import json
import os

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.swcfg.switch.plugins.module_utils import swcfgctl as ctl


def main():
    module = AnsibleModule(
        argument_spec=dict(
            port=dict(type='str', required=True),
            model=dict(type='raw', required=True),
            swcfgctl_path=dict(type='path'),
        ),
        supports_check_mode=True,
    )
    problem = ctl.option_problem(module.params, wants_target=False)
    if problem:
        module.fail_json(msg=problem)
    swcfgctl = ctl.find_swcfgctl(module)
    model = ctl.model_name(module.params['model'])
    port = module.params['port']
    image = os.path.join(module.tmpdir, 'switch.bin')

    for command in (ctl.read_command(swcfgctl, port, model, image),
                    ctl.show_command(swcfgctl, model, image, as_json=True)):
        rc, out, err = ctl.run(module, command)
        if rc != 0:
            module.fail_json(msg=ctl.failure_message(rc, None, err), rc=rc, stderr=err)
    module.exit_json(changed=False, ansible_facts={
        'swcfg': {'model': model, 'port': port, 'config': json.loads(out)}})


if __name__ == '__main__':
    main()
