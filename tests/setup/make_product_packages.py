"""Writes the product's setup packages that the setup program carries as its
resources "BIN" 1000 to 1005 (setup/Packages.md says what each holds):
update packages in the update engine's format, signed, with a SHA-1 digest
on every item, written by the tests' package writer.

usage: make_product_packages.py OUTPUT_FOLDER PICTURE DELIVERABLE...

Writes OUTPUT_FOLDER/Package1000.vlx to Package1005.vlx: 1000 the
deliverables given (into the installation folder itself), 1001 the plug-in
kernel's setup, 1002 to 1005 the setups of the demo's plug-ins, whose image
plug-in shows PICTURE (a JPEG file).
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures"))
import standin_install as si  # noqa: E402
import update_records as ur  # noqa: E402

# The product's own setup: the add-in and its companions. Its version is the
# product's version, which the installer records in "plugins.dat".
PRODUCT_SETUP_GUID = "3E5D0B7A-92C4-4F18-A6D1-0C7B4E2F9A61"
PRODUCT_VERSION = (1, 0)
FIRST_ID = 1000
MOST_PACKAGES = 6


def product_setup(deliverables):
    items = []
    for path in deliverables:
        items.append(ur.Item("", os.path.basename(path), si.read(path), ur.METHOD_ZLIB))
    return ur.update_package("Vistello", PRODUCT_SETUP_GUID, PRODUCT_VERSION, items, module_kind=0)


def packages(picture, deliverables):
    setups = [product_setup(deliverables), si.kernel_setup(si.KERNEL_VERSION)]
    setups += [si.plugin_setup(name, guid, module) for name, guid, module in si.demo_plugins(si.read(picture))]
    if len(setups) > MOST_PACKAGES:
        raise SystemExit("the setup carries at most %d packages" % MOST_PACKAGES)
    return setups


def main(folder, picture, deliverables):
    os.makedirs(folder, exist_ok=True)
    for index, data in enumerate(packages(picture, deliverables)):
        with open(os.path.join(folder, "Package%d.vlx" % (FIRST_ID + index)), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    if len(sys.argv) < 4:
        raise SystemExit(__doc__)
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
