#!/usr/bin/env python3
"""test_summary.py JUNIT.xml: counts a ctest run's JUnit report.

Prints one line per skipped test with the reason it gave, then a last line
"PASSED FAILED SKIPPED" for scripts/test to add up. A report that cannot be
read counts as one failure, so a broken run never reads as a clean one.
"""
import sys
import xml.etree.ElementTree as ElementTree


def skip_reason(output):
    """The first line a GoogleTest skip printed after its "Skipped" mark."""
    lines = output.splitlines()
    for index, line in enumerate(lines):
        if line.rstrip().endswith("Skipped"):
            for reason in lines[index + 1:]:
                if reason.strip():
                    return reason.strip()
    return "no reason given"


def main():
    try:
        cases = ElementTree.parse(sys.argv[1]).getroot().iter("testcase")
    except (OSError, ElementTree.ParseError) as error:
        print(f"test: cannot read the test report: {error}", file=sys.stderr)
        print("0 1 0")
        return
    passed = failed = skipped = 0
    for case in cases:
        status = case.get("status")
        if status == "run":
            passed += 1
        elif status in ("skipped", "disabled", "notrun"):
            skipped += 1
            output = case.findtext("system-out") or ""
            print(f"skipped {case.get('name')}: {skip_reason(output)}")
        else:
            failed += 1
    print(passed, failed, skipped)


if __name__ == "__main__":
    main()
