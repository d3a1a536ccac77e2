"""The JSON Schema of the resource list against a real validator and against the tool.

Every document the schema refuses in bad/ is refused by the tool too, with the status and
message listed in schema_cases.json and no output file written. Every document in
lenient/ is one the tool accepts but the schema refuses, and the schema's description of
the member concerned says so. Good documents pass both.
Run with a Python that has jsonschema (Debian: /usr/bin/python3 with python3-jsonschema).
"""
import argparse
import json
import os
import re
import subprocess
import sys
import tempfile
import unittest

import jsonschema

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
SCHEMA_PATH = os.path.join(ROOT, "schema", "vantrel-resources.schema.json")
GOOD_DOCUMENTS = [
    os.path.join(ROOT, "examples", "plugin", "resources.json"),
    os.path.join(ROOT, "examples", "cmake-plugin", "resources", "resources.json"),
    os.path.join(HERE, "good", "every-member.json"),
]
PROGRAM = None


def load_json(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def run_tool(document_path, *options):
    """Runs the program on a copy of the document in an empty folder; returns
    (status, stdout, stderr, names of the files left in the folder)."""
    with tempfile.TemporaryDirectory() as work:
        with open(document_path, "rb") as src, open(os.path.join(work, "in.json"), "wb") as dst:
            dst.write(src.read())
        run = subprocess.run(
            [PROGRAM, *options, "--input", "in.json", "--adobe", "IDtoFile.txt", "--mac", "out.r",
             "--windows", "out.rc", "--header", "out.h", "--pipl", "out.bin"],
            cwd=work, stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        return run.returncode, run.stdout, run.stderr, sorted(os.listdir(work))


def run_tool_on(document):
    """run_tool on a document given as JSON data."""
    with tempfile.NamedTemporaryFile("w", suffix=".json", delete=False) as f:
        json.dump(document, f)
    try:
        return run_tool(f.name)
    finally:
        os.unlink(f.name)


def json_pointer(path):
    return "".join("/" + str(part) for part in path)


def resolve_pointer(document, pointer):
    node = document
    for part in pointer.split("/")[1:]:
        node = node[part.replace("~1", "/").replace("~0", "~")]
    return node


REPLACEMENTS = [None, True, 0, 10000, 9999.5, 70000, "", "x", "ABCDE", "0G", [], {}, [{}], ["x"]]
REMOVED = object()


def variants(document):
    """Yields (copy of document with one change, JSON pointer of the change) for every
    member and element: removed, and replaced by each value of REPLACEMENTS."""
    pending = [(document, "")]
    while pending:
        node, pointer = pending.pop()
        keys = list(node) if isinstance(node, dict) else \
            range(len(node)) if isinstance(node, list) else []
        for key in keys:
            pending.append((node[key], pointer + "/" + str(key)))
            original = node[key]
            for value in [REMOVED] + REPLACEMENTS:
                if isinstance(node, list) and value is REMOVED:
                    node.pop(key)
                elif value is not REMOVED:
                    node[key] = value
                else:
                    del node[key]
                yield json.loads(json.dumps(document)), pointer + "/" + str(key)
                if isinstance(node, list) and value is REMOVED:
                    node.insert(key, original)
                else:
                    node[key] = original


class SchemaTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.schema = load_json(SCHEMA_PATH)
        cls.validator = jsonschema.Draft202012Validator(cls.schema)
        cls.cases = load_json(os.path.join(HERE, "schema_cases.json"))

    def test_schema_is_a_valid_draft_2020_12_schema(self):
        jsonschema.Draft202012Validator.check_schema(self.schema)
        self.assertEqual(self.schema["$schema"], "https://json-schema.org/draft/2020-12/schema")

    def test_every_member_has_a_description_for_editors(self):
        undescribed = []
        def walk(node, pointer):
            if isinstance(node, dict):
                for name, sub in node.get("properties", {}).items():
                    if "description" not in sub and "$ref" not in sub:
                        undescribed.append(pointer + "/properties/" + name)
                for key, sub in node.items():
                    # Conditions only restate members described elsewhere.
                    if key not in ("if", "then", "else", "not"):
                        walk(sub, pointer + "/" + key)
            elif isinstance(node, list):
                for index, sub in enumerate(node):
                    walk(sub, pointer + "/" + str(index))
        walk(self.schema, "")
        self.assertEqual(undescribed, [])

    def test_good_documents_pass_the_schema_and_the_tool(self):
        for path in GOOD_DOCUMENTS:
            with self.subTest(document=os.path.relpath(path, ROOT)):
                self.assertTrue(os.path.exists(path), path)
                errors = [e.message for e in self.validator.iter_errors(load_json(path))]
                self.assertEqual(errors, [])
                status, _, stderr, _ = run_tool(path)
                self.assertEqual((status, stderr), (0, b""))

    def test_every_variant_of_a_good_document_the_schema_accepts_the_tool_accepts(self):
        # Each member and element of the good documents, in turn removed or replaced by a
        # value of every JSON type: an editor that shows no complaint must mean a clean run.
        accepted = refused = 0
        for path in GOOD_DOCUMENTS:
            for variant, where in variants(load_json(path)):
                if not self.validator.is_valid(variant):
                    refused += 1
                    continue
                accepted += 1
                with self.subTest(document=os.path.relpath(path, ROOT), changed=where):
                    status, _, stderr, _ = run_tool_on(variant)
                    self.assertEqual((status, stderr), (0, b""))
        self.assertGreater(accepted, 50)
        self.assertGreater(refused, 500)

    def test_bad_documents_are_refused_by_the_schema_and_by_the_tool(self):
        self.assertGreater(len(self.cases["bad"]), 30)
        for case in self.cases["bad"]:
            path = os.path.join(HERE, case["document"])
            with self.subTest(document=case["document"]):
                errors = list(self.validator.iter_errors(load_json(path)))
                where = [json_pointer(e.absolute_path) for e in errors]
                self.assertTrue(any(w.startswith(case["where"]) for w in where),
                                f"schema errors at {where}, expected one at {case['where']}")
                status, stdout, stderr, files = run_tool(path)
                self.assertEqual(status, case["status"])
                self.assertEqual(stderr, case["stderr"].encode("utf-8"))
                self.assertEqual(stdout, b"")
                self.assertEqual(files, ["in.json"], "a refused list must leave no output")

    def test_what_only_the_tool_accepts_is_said_in_the_schema(self):
        for case in self.cases["lenient"]:
            path = os.path.join(HERE, case["document"])
            with self.subTest(document=case["document"]):
                self.assertFalse(self.validator.is_valid(load_json(path)))
                status, _, stderr, _ = run_tool(path)
                self.assertEqual((status, stderr), (0, b""))
                description = resolve_pointer(self.schema, case["description"])
                self.assertIn(case["says"], description)
                # Unknown members: --strict refuses them as the schema does.
                if "strict" in case:
                    status, _, stderr, files = run_tool(path, "--strict")
                    self.assertEqual(status, 92)
                    self.assertIn(case["strict"].encode("utf-8"), stderr)
                    self.assertEqual(files, ["in.json"])

    def test_the_schema_takes_the_types_the_tool_takes(self):
        # Every word the type pattern names, as written, in small letters and with a blank
        # after it, beside words of each rule's edges: the schema and the tool agree on each.
        pattern = self.schema["$defs"]["resource"]["properties"]["type"]["pattern"]
        named = re.findall(r"[A-Za-z_][A-Za-z0-9_]*", pattern.split(") *$)")[0])
        types = ["", " ", "a", "_", "_a", "__", "_A", "a_B", "9", "a9", "PNGI", "snd ", "a b",
                 "STR#", "caf\u00e9", "x-y"]
        for word in named:
            types += [word, word.lower(), word + " ", word + "X"]
        for value in dict.fromkeys(types):
            with self.subTest(type=value):
                document = [{"type": value, "data": "00", "id": 12000}]
                status = run_tool_on(document)[0]
                self.assertEqual(self.validator.is_valid(document), status == 0, status)

    def test_each_fault_gets_its_own_message(self):
        # A "data" object is checked as a PiPL description and a string as hex data, each
        # by its own schema, so the message names the fault itself rather than "not valid
        # under any of the given schemas".
        for case in self.cases["messages"]:
            with self.subTest(document=case["document"]):
                document = load_json(os.path.join(HERE, case["document"]))
                errors = sorted([json_pointer(e.absolute_path), e.message]
                                for e in self.validator.iter_errors(document))
                self.assertEqual(errors, case["errors"])


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    options, rest = parser.parse_known_args()
    PROGRAM = os.path.abspath(options.program)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
