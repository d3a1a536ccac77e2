"""Shared by the package tests: the files the package installs, and for the sample plug-in
tests the package installed into a temporary prefix and a copy of examples/cmake-plugin
beside it."""
import os
import shutil
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# What the package installs besides the program and the documents: the files that are
# copies of files of this tree, by where they go under the prefix, and those it generates.
INSTALLED_COPIES = {
    "share/man/man1/vantrel.1": "man/vantrel.1",
    "share/vantrel/vantrel-resources.schema.json": "schema/vantrel-resources.schema.json",
    "share/cmake/vantrel/VantrelCheckPlugin.cmake": "cmake/VantrelCheckPlugin.cmake",
    "share/cmake/vantrel/VantrelResources.cmake": "cmake/VantrelResources.cmake",
    "share/cmake/vantrel/VantrelUpdateOutputs.cmake": "cmake/VantrelUpdateOutputs.cmake",
    "share/cmake/vantrel/VantrelDepfile.cmake": "cmake/VantrelDepfile.cmake",
    "share/cmake/vantrel/VantrelMissingOutputs.cmake": "cmake/VantrelMissingOutputs.cmake",
}
INSTALLED_GENERATED = ["share/cmake/vantrel/vantrelConfig.cmake",
                       "share/cmake/vantrel/vantrelConfigVersion.cmake",
                       "share/cmake/vantrel/vantrelTargets.cmake"]


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, timeout=300, **kwargs)


def install_package_and_copy_sample(build_dir, folder):
    """Installs build_dir into folder/prefix and copies the sample to "folder/sample plugin"
    (a blank in the path checks the quoting of every path the package passes on).
    Returns (prefix, source)."""
    prefix = os.path.join(folder, "prefix")
    install = run(["cmake", "--install", build_dir, "--prefix", prefix])
    if install.returncode != 0:
        raise AssertionError("cmake --install failed:\n" + install.stdout + install.stderr)
    source = os.path.join(folder, "sample plugin")
    shutil.copytree(os.path.join(ROOT, "examples", "cmake-plugin"), source)
    return prefix, source
