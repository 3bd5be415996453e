#!/usr/bin/python3
"""The release's manifests, written from the built MSI and a zip of
dormix.exe: valid against the published schemas (kept in schemas/: the build
machines have no network), each checksum its file's, the product code the
MSI's, the version the MSI's and the resource file's, each read here from
the files themselves; the scope and the installer's type the MSI's.
Usage: manifests_test.py MSI EXE"""
import hashlib
import importlib.machinery
import json
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import zipfile

import jsonschema
import yaml

HERE = os.path.dirname(os.path.abspath(__file__))
manifests = importlib.machinery.SourceFileLoader(
    "manifests", os.path.join(HERE, "..", "..", "tools", "manifests")).load_module()


def msi_properties(msi):
    """The MSI's Property table, as msiinfo exports it."""
    table = subprocess.run(["msiinfo", "export", msi, "Property"], check=True, capture_output=True, text=True).stdout
    return dict(line.split("\t", 1) for line in table.splitlines()[3:])


def check(msi, exe, scratch):
    zip_file = os.path.join(scratch, "dormix-win32.zip")
    with zipfile.ZipFile(zip_file, "w") as z:
        z.write(exe, "dormix.exe")
    manifests.main(scratch, "https://example.invalid/{version}", msi, zip_file)
    properties, read = msi_properties(msi), {}
    version = properties["ProductVersion"]
    with open(os.path.join(HERE, "..", "..", "res", "dormix.rc"), encoding="utf-8") as rc:
        assert re.search(r"^FILEVERSION\s+" + version.replace(".", r",\s*"), rc.read(), re.M), "dormix.rc's version"
    for name, schema in [("VeltoSoftware.Dormix.yaml", "winget-1.12.0/manifest.version.1.12.0.json"),
                         ("VeltoSoftware.Dormix.installer.yaml", "winget-1.12.0/manifest.installer.1.12.0.json"),
                         ("VeltoSoftware.Dormix.locale.en-US.yaml", "winget-1.12.0/manifest.defaultLocale.1.12.0.json"),
                         ("dormix.json", "scoop/schema.json")]:
        with open(os.path.join(scratch, name), encoding="utf-8") as f, open(os.path.join(HERE, "schemas", schema)) as s:
            read[name] = yaml.safe_load(f)
            jsonschema.validate(read[name], json.load(s))
        assert read[name].get("PackageVersion", read[name].get("version")) == version, name
    installer, scoop = read["VeltoSoftware.Dormix.installer.yaml"], read["dormix.json"]
    sha256 = lambda path: hashlib.sha256(pathlib.Path(path).read_bytes()).hexdigest()
    assert installer["Installers"][0]["InstallerSha256"].lower() == sha256(msi)
    assert installer["ProductCode"] == properties["ProductCode"]
    # Per machine: the MSI installs for all users, and is the installer named.
    assert installer["Scope"] == {"1": "machine"}.get(properties.get("ALLUSERS")), installer["Scope"]
    assert installer["InstallerType"] == "msi" and pathlib.Path(msi).read_bytes()[:8] == bytes.fromhex("D0CF11E0A1B11AE1")
    assert installer["Installers"][0]["InstallerUrl"] == f"https://example.invalid/{version}/{os.path.basename(msi)}"
    assert scoop["architecture"]["32bit"]["hash"] == sha256(zip_file)


if __name__ == "__main__":
    with tempfile.TemporaryDirectory() as scratch:
        check(*sys.argv[1:], scratch)
