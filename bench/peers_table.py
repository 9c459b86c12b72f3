#!/usr/bin/env python3
"""Composes the peers table (markdown) from one run of bench/run-peers.sh:
the medians of peers_bench, the extraction benchmark's output and the sizes
of the files involved. Prints the table and writes it to --output."""
import argparse
import datetime
import os
import platform
import re
import subprocess
import sys
import zipfile
from pathlib import Path


def read_runs(path):
    figures = {}
    for line in Path(path).read_text().splitlines():
        if not line or line.startswith('#'):
            continue
        name, median, runs, low, high = line.split('\t')
        figures[name] = (float(median), int(runs), float(low), float(high))
    return figures


def read_extract(path):
    text = Path(path).read_text()
    def mbs(label):
        match = re.search(re.escape(label) + r'\s+([\d.]+) MB/s', text)
        if not match:
            sys.exit(f'peers_table: no "{label}" figure in {path}')
        return float(match.group(1))
    return mbs('Extract:'), mbs('zlib inflate only, to memory:')


def nsis_data_size(log):
    """The compressed size of the installer's data as makensis reports it:
    "Install data" for zlib, "Compressed data" (code and data) when solid."""
    text = Path(log).read_text()
    for label in ('Compressed data:', 'Install data:'):
        match = re.search(re.escape(label) + r'\s+(\d+) /', text)
        if match:
            return int(match.group(1))
    sys.exit(f'peers_table: no data size in {log}')


def compressed_entries(path):
    with zipfile.ZipFile(path) as archive:
        return sum(info.compress_size for info in archive.infolist())


def seconds(value):
    return f'{value:.3f} s'


def kib(value):
    return f'{value / 1024:.1f} KB'


def mib(value):
    return f'{value / 1048576:.1f} MB'


def ratio(ours, peer, digits=2):
    return f'{ours / peer:.{digits}f}' if peer else '–'


def machine():
    """One line on where the figures were taken."""
    cpu = 'unknown processor'
    for line in Path('/proc/cpuinfo').read_text().splitlines():
        if line.startswith('model name'):
            cpu = line.split(':', 1)[1].strip()
            break
    wine = subprocess.run(['wine', '--version'], capture_output=True, text=True).stdout.strip()
    day = datetime.datetime.now(datetime.timezone.utc).strftime('%Y-%m-%d')
    return f'{day}, {cpu}, {os.cpu_count()} cores, Linux {platform.release()}, {wine}'


def main():
    parser = argparse.ArgumentParser()
    for option in ('runs', 'extract', 'setup', 'payload', 'zip9', 'nsis-dir', 'output'):
        parser.add_argument('--' + option, required=True)
    args = parser.parse_args()

    runs = read_runs(args.runs)
    def median(name):
        if name not in runs:
            sys.exit(f'peers_table: no figure "{name}" in {args.runs}')
        return runs[name][0]
    rounds = min(count for _, count, _, _ in runs.values())
    extract_mbs, inflate_mbs = read_extract(args.extract)

    nsis = Path(args.nsis_dir)
    setup_size = Path(args.setup).stat().st_size
    payload_size = Path(args.payload).stat().st_size
    overhead = setup_size - (8 + payload_size)  # the block: 1, the length, the archive
    empty_nsis = (nsis / 'nsis-empty.exe').stat().st_size
    ours_data = compressed_entries(args.payload)
    zip9_data = compressed_entries(args.zip9)
    zip9_size = Path(args.zip9).stat().st_size
    nsis_zlib_data = nsis_data_size(nsis / 'nsis-zlib.log')
    nsis_lzma_data = nsis_data_size(nsis / 'nsis-lzma.log')

    ours_install = median('install.ours')
    rows = [
        ('Installation, process start to exit (ours: every box answered at once, product not started)',
         seconds(ours_install), 'NSIS zlib ' + seconds(median('install.zlib')),
         ratio(ours_install, median('install.zlib')), '≤ 1.00'),
        ('', '', 'NSIS LZMA solid ' + seconds(median('install.lzma')),
         ratio(ours_install, median('install.lzma')), ''),
        ('Fixed cost: empty NSIS installer, start to exit', '', seconds(median('install.empty')), '', ''),
        ('Ours, of which: start to the window shown · click to the notice · notice\'s OK to the question '
         '(tool.zip written, extraction, shortcut) · No to the exit',
         ' · '.join(seconds(median(name + '.ours')) for name in
                    ('start_to_window', 'click_to_notice', 'ok_to_question', 'no_to_exit')), '', '', ''),
        ('Extraction: `Extract` against zlib inflate-only, 256 MB', f'{extract_mbs:.0f} MB/s',
         f'{inflate_mbs:.0f} MB/s', ratio(extract_mbs, inflate_mbs), '≥ 0.90'),
        ('Overhead: DormivetSetup.exe minus the payload block', kib(overhead),
         'empty NSIS ' + kib(empty_nsis), ratio(overhead, empty_nsis), '< 400 KB'),
        ('Payload: compressed entry data against `zip -9` of the same files', f'{ours_data:,} B',
         f'{zip9_data:,} B', ratio(ours_data, zip9_data, 3), '≤ 0.97'),
        ('Payload: whole archive against the `zip -9` archive', f'{payload_size:,} B',
         f'{zip9_size:,} B', ratio(payload_size, zip9_size, 3), ''),
        ('Payload against NSIS data', f'{payload_size:,} B', f'NSIS zlib {nsis_zlib_data:,} B',
         ratio(payload_size, nsis_zlib_data), ''),
        ('', '', f'NSIS LZMA solid {nsis_lzma_data:,} B', ratio(payload_size, nsis_lzma_data), ''),
        ('Peak working set during the installation', mib(median('peak.ours')),
         'NSIS zlib ' + mib(median('peak.zlib')), ratio(median('peak.ours'), median('peak.zlib')), ''),
        ('', '', 'NSIS LZMA solid ' + mib(median('peak.lzma')),
         ratio(median('peak.ours'), median('peak.lzma')), ''),
        ('Start-up: process start until the main window is visible', seconds(median('startup.ours')),
         'minimal window ' + seconds(median('startup.minimal')),
         ratio(median('startup.ours'), median('startup.minimal')), ''),
        ('Start to exit, window closed at once (Wine\'s cost of a GUI process)',
         seconds(median('startup_to_exit.ours')), 'minimal window ' + seconds(median('startup_to_exit.minimal')),
         ratio(median('startup_to_exit.ours'), median('startup_to_exit.minimal')), ''),
    ]
    lines = [
        f'Medians of {rounds} runs each under Wine on one Xvfb display, the kinds interleaved; '
        'sizes in bytes (KB = 1024 B). The prefix lets Wine manage the windows itself: with no window '
        'manager on Xvfb it would wait 2 s at the end of every window (ours shows three, the silent '
        'peers none). ' + machine() + '.',
        '',
        '| Measure | Ours | Peer | Ours ÷ peer | Target |',
        '|---|---|---|---|---|',
    ]
    lines += ['| ' + ' | '.join(row) + ' |' for row in rows]
    table = '\n'.join(lines) + '\n'
    Path(args.output).write_text(table)
    print(table, end='')


if __name__ == '__main__':
    main()
