"""Shared by the sample plug-in tests: the package installed into a temporary prefix and a
copy of examples/cmake-plugin beside it."""
import os
import shutil
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


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
