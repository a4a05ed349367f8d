# Copyright: 2026 the swcfg developers
# GNU General Public License v3.0+ (see LICENSE or https://www.gnu.org/licenses/gpl-3.0.txt)
# usage: run_sanity.py COLLECTION_SOURCE [ansible-test sanity options]
#
# Runs ansible-test sanity on a copy of the collection, with the checkers Debian packages
# (pycodestyle, pylint, yamllint, voluptuous) rather than the pinned ones ansible-test would fetch
# from PyPI into a virtual environment of each test. The copy goes to a temporary folder outside
# any git work tree: inside one, ansible-test takes only the files git tracks there.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import os
import shutil
import sys
import tempfile

from ansible_test._internal import main
from ansible_test._internal.commands import sanity

with tempfile.TemporaryDirectory(prefix='swcfg-sanity-') as work:
    collection = os.path.join(work, 'ansible_collections', 'swcfg', 'switch')
    shutil.copytree(sys.argv[1], collection,
                    ignore=shutil.ignore_patterns('output', '__pycache__', 'CMakeLists.txt'))
    os.chdir(collection)
    # Every test runs on this Python, with the checkers installed for it.
    sanity.create_sanity_virtualenv = lambda args, python, name, **options: python
    sanity.check_sanity_virtualenv_yaml = lambda python: True
    python = '%d.%d' % sys.version_info[:2]
    sys.argv = ['ansible-test', 'sanity', '--local', '--python', python, '--color', 'no'] + \
        sys.argv[2:]
    main()
