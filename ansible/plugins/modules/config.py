#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: 2026 the swcfg developers
# GNU General Public License v3.0+ (see LICENSE or https://www.gnu.org/licenses/gpl-3.0.txt)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
module: config
short_description: Makes an EEPROM-configured Ethernet switch hold the wanted settings
description:
  - Reads the switch with swcfgctl, works out the image it should hold (the settings of
    I(config) laid over what it holds, or the image I(src)), and writes only the words that
    differ, with read-back verification and a reset of the switch.
  - A switch that holds the wanted image already is neither written nor reset, so running the
    same play again changes nothing. An unchanged switch costs one read.
  - In check mode the switch is only read; C(changed) says whether a run would write.
  - With C(--diff), I(before) and I(after) are the settings as C(swcfgctl show) prints them.
version_added: 0.1.0
author:
  - the swcfg developers (@swcfg)
extends_documentation_fragment:
  - swcfg.switch.switch
options:
  config:
    description:
      - The wanted settings as a configuration document, the one C(swcfgctl show --json) prints
        and C(swcfgctl apply) takes, written as a mapping.
      - C(ports) (by front-panel number; C(security), C(learning), C(storm_control),
        C(flow_control), C(link)), C(trunks) (C(method), C(hash), C(groups)) and C(vlans) (a list
        of groups with C(ports) and C(trunks)).
      - A port or setting left out keeps what the switch holds; C(trunks) or C(vlans), when
        given, replace all trunks or all VLAN groups.
      - C(format), C(version) and C(model) are filled in; a document that names them must agree
        (C(swcfg-config), C(1), I(model)).
      - The document's form is checked before the switch is touched; a document the switch's
        configuration does not take is refused once it was read, and nothing is written. The
        message names the offending field by its path (C(ports.7.learning)).
      - Exactly one of I(config) and I(src) is given.
    type: dict
  src:
    description:
      - A configuration image (C(*.bin) file, as C(swcfgctl read) saves it) to make the switch
        hold, on the host the module runs on. It is checked for I(model) before the switch is
        touched.
      - Exactly one of I(config) and I(src) is given.
    type: path
  backup:
    description:
      - Saves what the switch held, once it was read and before any word is written, as a
        C(*.bin) file that C(swcfgctl write) can put back.
      - The file is tried before the switch is touched; a backup that cannot be saved fails the
        task with nothing written.
      - Check mode takes the backup too, as it only reads the switch.
    type: bool
    default: false
  backup_options:
    description:
      - Where I(backup) saves. Without it, in C(backup/) beside the playbook, as
        C(<inventory_hostname>_config.<date>@<time>.bin).
    type: dict
    suboptions:
      dir_path:
        description:
          - The folder, made when missing. A relative path is taken from the playbook's folder.
        type: path
      filename:
        description:
          - The file's name in the folder.
        type: str
'''

EXAMPLES = r'''
- name: Trunk ports 1 to 4 to the uplink and keep what the switch held
  swcfg.switch.config:
    port: tcp://console1:3001
    model: 24sx
    backup: true
    config:
      trunks:
        method: mac
        hash: DA+SA crc.
        groups:
          "1": {members: [1, 2, 3, 4]}
      vlans:
        - {ports: [5, 6, 7, 8], trunks: [1]}

- name: Storm control on port 7, the rest as the switch holds it
  swcfg.switch.config:
    port: "{{ swcfg_port }}"
    model: "{{ swcfg_model }}"
    config:
      ports:
        "7": {storm_control: true}

- name: Put a kept image back
  swcfg.switch.config:
    port: /dev/ttyUSB0
    model: 32
    src: backup/sw1_config.2026-03-02@10:15:00.bin
'''

RETURN = r'''
words_written:
  description: The EEPROM words written to the switch (0 in check mode and when it held the image).
  returned: success
  type: int
  sample: 1
restarted:
  description: Whether the switch was reset to take the new configuration; only after words were
    written and every device verified.
  returned: success
  type: bool
  sample: true
backup_path:
  description: The backup file saved.
  returned: when backup is true
  type: str
  sample: /home/admin/site/backup/sw1_config.2026-03-02@10:15:00.bin
msg:
  description: swcfgctl's message, whole, when the task failed.
  returned: failed
  type: str
  sample: "Gigabit Fiber Module Not Found !"
rc:
  description: swcfgctl's exit status when the task failed (2 a file or document refused, 3 the
    switch unavailable, 4 a transfer failed).
  returned: failed
  type: int
  sample: 3
stderr:
  description: Everything swcfgctl said, when the task failed.
  returned: failed
  type: str
'''

import os

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.swcfg.switch.plugins.module_utils import swcfgctl as ctl


def show(module, swcfgctl, model, image):
    """The settings an image holds, as swcfgctl show prints them."""
    rc, out, err = ctl.run(module, ctl.show_command(swcfgctl, model, image))
    if rc != 0:
        module.fail_json(msg=err.strip(), rc=rc, stderr=err)
    return out


def settings_diff(module, swcfgctl, model, before):
    """before: the image the switch held; after: what the write makes of it."""
    params = module.params
    after = params['src']
    if after is None:
        after = os.path.join(module.tmpdir, 'after.bin')
        rc, out, err = ctl.run(module, ctl.apply_command(swcfgctl, model, before, after),
                               data=ctl.document_text(params['config'], model))
        if rc != 0:
            module.fail_json(msg=err.strip(), rc=rc, stderr=err)
    port = params['port']
    return {
        'before': show(module, swcfgctl, model, before),
        'after': show(module, swcfgctl, model, after),
        'before_header': '%s (held)' % port,
        'after_header': '%s (wanted)' % port,
    }


def make_folder(module, path):
    try:
        os.makedirs(path, exist_ok=True)
    except OSError as error:
        module.fail_json(msg='the backup folder %s cannot be made: %s' % (path, error.strerror))


def main():
    module = AnsibleModule(
        argument_spec=dict(
            port=dict(type='str', required=True),
            model=dict(type='raw', required=True),
            config=dict(type='dict'),
            src=dict(type='path'),
            backup=dict(type='bool', default=False),
            backup_options=dict(type='dict', options=dict(
                dir_path=dict(type='path'),
                filename=dict(type='str'),
            )),
            swcfgctl_path=dict(type='path'),
        ),
        supports_check_mode=True,
    )
    params = module.params
    problem = ctl.option_problem(params)
    if problem:
        module.fail_json(msg=problem)
    swcfgctl = ctl.find_swcfgctl(module)
    model = ctl.model_name(params['model'])

    backup = None
    if params['backup']:
        backup = ctl.backup_path(params['backup_options'])
        make_folder(module, os.path.dirname(backup) or '.')
    before = backup
    if module._diff and before is None:
        before = os.path.join(module.tmpdir, 'before.bin')

    config = params['config']
    command = ctl.write_command(swcfgctl, params['port'], model, src=params['src'],
                                dry_run=module.check_mode, backup=before)
    rc, out, err = ctl.run(module, command,
                           data=None if config is None else ctl.document_text(config, model))
    report = ctl.port_report(out)
    result = ctl.write_result(report, module.check_mode)
    if backup and (report or {}).get('backup'):
        result['backup_path'] = backup
    if rc != 0:
        module.fail_json(msg=ctl.failure_message(rc, report, err), rc=rc, stderr=err, **result)
    if module._diff:
        result['diff'] = settings_diff(module, swcfgctl, model, before)
    module.exit_json(**result)


if __name__ == '__main__':
    main()
