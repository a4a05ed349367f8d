# -*- coding: utf-8 -*-
# Copyright: 2026 the swcfg developers
# GNU General Public License v3.0+ (see LICENSE or https://www.gnu.org/licenses/gpl-3.0.txt)

from __future__ import absolute_import, division, print_function

__metaclass__ = type


class ModuleDocFragment(object):
    # How every module of the collection reaches a switch.
    DOCUMENTATION = r'''
options:
  port:
    description:
      - The switch's RS-232 management port, as C(swcfgctl --port) takes it.
      - C(COM1) to C(COM8) (the device the environment variable C(SWCFG_COM<n>) names, else
        C(/dev/ttyS<n-1>)), a serial device (C(ttyUSB0), C(/dev/ttyUSB0)), or a console server's
        port, C(tcp://HOST:PORT) (raw TCP, the server's line at 9600 8N1) or
        C(rfc2217://HOST:PORT) (Telnet COM Port Control).
      - One port, as a task reaches one switch. Many switches are many hosts of the inventory.
    type: str
    required: true
  model:
    description:
      - The switch model, C(24) (24 Port N-Way Switch), C(24sx) (24 Port Switch,1000Base-SX On
        Board) or C(32) (32 Port N-Way Switch). C(24) and C(32) may be given as numbers.
      - The switch is checked against it before anything is read or written.
    type: raw
    required: true
  swcfgctl_path:
    description:
      - The swcfgctl program to run. By default the one found on C(PATH), which the swcfg package
        installs as C(/usr/bin/swcfgctl).
    type: path
notes:
  - The module runs swcfgctl on the host it runs on, which needs the switch's port. With the
    serial lines or console servers reached from the controller, set C(ansible_connection=local)
    for the switches.
  - swcfgctl does every check of the switch and of a configuration; a failure's message is its
    own, whole.
requirements:
  - swcfgctl, from the swcfg package
'''
