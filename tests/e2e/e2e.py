#!/usr/bin/env python3
"""Veltrin end to end: the suite in the package beside this file (veltrin_e2e).

usage: e2e.py --binary PATH [--wm openbox|weston | --wine WINPROBE_EXE] [--screen-reader]
              [--wrapper "valgrind ..."] [case ...]
"""

import os
import runpy
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
runpy.run_module("veltrin_e2e", run_name="__main__")
