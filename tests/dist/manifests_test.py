#!/usr/bin/python3
"""The release's winget and Scoop manifests, written from the built MSI and a
zip: each valid against its published schema (tests/dist/schemas, kept here
since the build machines have no network), each checksum its file's, each
version the resource file's, the product code the MSI's.

  manifests_test.py MSI EXE
"""
import hashlib
import importlib.machinery
import json
import os
import subprocess
import sys
import tempfile
import zipfile

import jsonschema
import yaml

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
manifests = importlib.machinery.SourceFileLoader(
    "manifests", os.path.join(ROOT, "tools", "manifests")).load_module()


def schema(*path):
    with open(os.path.join(HERE, "schemas", *path), encoding="utf-8") as f:
        return json.load(f)


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def main(msi, exe):
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        zip_file = os.path.join(scratch, "dormix-win32.zip")
        with zipfile.ZipFile(zip_file, "w") as z:
            z.write(exe, "dormix.exe")
        out = os.path.join(scratch, "manifests")
        manifests.main(out, "https://example.invalid/{version}", msi, zip_file)
        version = manifests.resource_version()
        ident = "VeltoSoftware.Dormix"
        checks = [(f"{ident}.yaml", "manifest.version.1.12.0.json"),
                  (f"{ident}.installer.yaml", "manifest.installer.1.12.0.json"),
                  (f"{ident}.locale.en-US.yaml", "manifest.defaultLocale.1.12.0.json")]
        docs = {}
        for name, schema_file in checks:
            with open(os.path.join(out, name), encoding="utf-8") as f:
                docs[name] = yaml.safe_load(f)
            try:
                jsonschema.validate(docs[name], schema("winget-1.12.0", schema_file))
            except jsonschema.ValidationError as error:
                failures.append(f"{name}: {error.message}")
            if docs[name]["PackageVersion"] != version:
                failures.append(f"{name}: version {docs[name]['PackageVersion']}, not {version}")
        with open(os.path.join(out, "dormix.json"), encoding="utf-8") as f:
            scoop = json.load(f)
        try:
            jsonschema.validate(scoop, schema("scoop", "schema.json"))
        except jsonschema.ValidationError as error:
            failures.append(f"dormix.json: {error.message}")
        installer = docs[f"{ident}.installer.yaml"]
        expected = [
            (installer["Installers"][0]["InstallerSha256"].lower(), sha256(msi), "the MSI's checksum"),
            (installer["ProductCode"], manifests.msi_property(msi, "ProductCode"), "the product code"),
            (scoop["architecture"]["32bit"]["hash"], sha256(zip_file), "the zip's checksum"),
            (scoop["version"], version, "Scoop's version"),
            (installer["Installers"][0]["InstallerUrl"], f"https://example.invalid/{version}/{os.path.basename(msi)}",
             "the MSI's address"),
        ]
        failures += [f"{what}: {got} != {want}" for got, want, what in expected if got != want]
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
