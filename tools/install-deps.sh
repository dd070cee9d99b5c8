#!/usr/bin/env bash
# Makes sure the Debian packages the tests need are installed. As root it
# installs what is missing with apt-get; otherwise it prints the command to
# run and fails. Used by `make test`, `make sanitize` and .ci/run.
#   cmake g++ make libgtest-dev   build and unit tests
#   xboard fairymax xvfb xauth    the headless game under xboard
#   polyglot gnuchess-book        Polyglot test books, the default book, and
#                                 the game with the engine in UCI mode
#   man-db                        the install test renders the manual page
set -euo pipefail

packages=(cmake g++ make libgtest-dev xboard fairymax xvfb xauth polyglot gnuchess-book man-db)

if ! command -v dpkg-query >/dev/null 2>&1; then
  echo "install-deps: not a Debian system; make sure these are installed: ${packages[*]}" >&2
  exit 0
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
else
  echo "install-deps: the tests need these Debian packages: ${missing[*]}" >&2
  echo "Install them with:" >&2
  echo "  sudo apt-get install --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
