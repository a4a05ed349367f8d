# Copyright: 2026 the swcfg developers
"""Runs ansible-test sanity on a copy of the collection, with the checkers Debian packages
(pycodestyle, pylint, yamllint, voluptuous) rather than the pinned ones ansible-test would fetch
from PyPI into a virtual environment of each test.

usage: run_sanity.py COLLECTION_SOURCE [ansible-test sanity options]

The copy goes to a temporary folder outside any git work tree: inside one, ansible-test would
take only the files git tracks there.
"""

from __future__ import absolute_import, division, print_function

import os
import shutil
import sys
import tempfile

from ansible_test._internal import main
from ansible_test._internal.commands import sanity


def use_system_python(args, python, name, **options):
    """Every test runs on the controller's own Python and the checkers installed there."""
    return python


def main_of_sanity(source, options):
    with tempfile.TemporaryDirectory(prefix='swcfg-sanity-') as work:
        # ansible-test finds the collection by the folders it sits in.
        collection = os.path.join(work, 'ansible_collections', 'swcfg', 'switch')
        shutil.copytree(source, collection,
                        ignore=shutil.ignore_patterns('output', '__pycache__', 'CMakeLists.txt'))
        os.chdir(collection)
        sanity.create_sanity_virtualenv = use_system_python
        sanity.check_sanity_virtualenv_yaml = lambda python: True
        python = '%d.%d' % sys.version_info[:2]
        sys.argv = ['ansible-test', 'sanity', '--local', '--python', python, '--color', 'no'] + options
        main()


if __name__ == '__main__':
    main_of_sanity(os.path.abspath(sys.argv[1]), sys.argv[2:])
