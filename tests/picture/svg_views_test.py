"""Every view of the clear picture as SVG, for ordinary and edge systems, through the real
program: the document parses as XML, its text is text in the reader's language, its
coordinates are numbers (no NaN or infinity leaks from a curve that has none), and the
panels say what the physics says (the work of a cycle balances; no steady motion is
said, not drawn).

Usage: python3 svg_views_test.py PROGRAM"""
import os
import re
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

PROGRAM = None
SVG = '{http://www.w3.org/2000/svg}'
SYSTEMS = {
    'continuous': '1 0.1 1\n1 0.8\n0.1\n0 0\n',
    'stick-slip': '1 0.2 1\n1 0.5\n0.6\n0 0\n',
    'undamped at resonance': '1 0 1\n1 1\n0.1\n0 0\n',      # grows: no steady motion
    'no force': '1 0.3 1\n0 0.5\n0\n-0.5 0\n',             # every curve empty
    'held by friction': '1 0.1 1\n0.5 0.8\n1\n0 0\n',       # Fric > F: never moves
}
VIEWS = ['c', 'co', 'cw', 'cg', 'ce', 'cYYYa', 'cttt']


def svg_of(system, keys, *options):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, 'p.svg')
        run = subprocess.run([PROGRAM, '--svg', path, '--frames', '40', '--keys', keys, *options],
                             input=SYSTEMS[system].encode(), capture_output=True, timeout=300,
                             env=dict(os.environ, LC_ALL='C.UTF-8'))
        if run.returncode != 0:
            raise AssertionError('%s %s: status %d: %s' % (system, keys, run.returncode,
                                                            run.stderr.decode()))
        with open(path, encoding='utf-8') as f:
            return f.read()


def texts(document):
    return [t.text or '' for t in ET.fromstring(document).iter(SVG + 'text')]


class Views(unittest.TestCase):
    def test_every_view_of_every_system_is_whole_and_finite(self):
        for system in SYSTEMS:
            for keys in VIEWS:
                with self.subTest(system=system, keys=keys):
                    document = svg_of(system, keys)
                    root = ET.fromstring(document)  # parses
                    self.assertEqual(root.tag, SVG + 'svg')
                    numbers = ' '.join(
                        [e.get('d', '') for e in root.iter(SVG + 'path')] +
                        [e.get(a, '') for e in root.iter() for a in ('x', 'y', 'cx', 'cy', 'r')])
                    self.assertIsNone(re.search(r'nan|inf', numbers, re.I), numbers[:200])
                    self.assertGreater(len(list(root.iter(SVG + 'path'))), 10)
                    self.assertIn('時間 t [s]', texts(document))

    def test_panels_say_what_the_physics_says(self):
        energy = texts(svg_of('continuous', 'cw'))
        works = {}
        for name in ['外力の仕事', '粘性減衰', '摩擦']:
            at = energy.index(name)
            works[name] = float(energy[at + 1].split()[0])
        self.assertAlmostEqual(works['外力の仕事'], works['粘性減衰'] + works['摩擦'],
                               delta=2e-3 * works['外力の仕事'])  # four digits shown
        for system in ['undamped at resonance']:
            for keys in ['cw', 'co']:
                self.assertIn('定常運動がない', texts(svg_of(system, keys)), (system, keys))
        english = texts(svg_of('stick-slip', 'co', '--lang', 'en'))
        self.assertIn('Phase plane', english)
        self.assertIn('exact steady orbit', english)
        self.assertNotIn('位相平面', english)

    def test_family_is_named_and_the_entered_point_given(self):
        shown = texts(svg_of('continuous', 'c'))
        self.assertGreaterEqual(sum(t.startswith('ζ=') for t in shown), 4)
        self.assertTrue(any(t.startswith('z=0.8, ') and t.endswith(' m') for t in shown), shown)


if __name__ == '__main__':
    PROGRAM = os.path.abspath(sys.argv[1])
    unittest.main(argv=sys.argv[:1], verbosity=2)
