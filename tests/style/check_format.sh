#!/bin/bash
# Checks that every C++ source keeps the tree's one style (.clang-format). The tree
# formats identically with clang-format 14 to 19 (tried with 14, 15, 16 and 19: Debian
# 12's and 13's own among them); with a version outside that range the check is
# skipped, saying so.
set -u
cd "$(dirname "$0")/../.."
OLDEST=14
NEWEST=19
if ! command -v clang-format >/dev/null; then
  echo "clang-format is not installed (apt-get install clang-format): style not checked"
  exit 0
fi
version=$(clang-format --version | sed -n 's/.*version \([0-9]*\).*/\1/p')
if [ -z "$version" ] || [ "$version" -lt "$OLDEST" ] || [ "$version" -gt "$NEWEST" ]; then
  echo "clang-format ${version:-?} is not one of $OLDEST to $NEWEST, which format the tree alike: style not checked"
  exit 0
fi
find src tools tests \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
  xargs -0 clang-format --dry-run -Werror || {
    echo "run: clang-format -i on the files named above"
    exit 1
  }
echo "every source keeps the style in .clang-format"
