#!/usr/bin/env bash
# Installs what the build needs when it is missing (Debian packages).
#   install_deps.sh            cmake, g++ and nlohmann-json (header-only: the
#                              history view reads the results files with it)
#   install_deps.sh --tests    also GoogleTest, Python 3 with jsonschema for
#                              the check of the results files, strace for
#                              the fault injection, and acl and attr
#                              (setfacl, setfattr) for the shared problem file
#   install_deps.sh --fuzz     clang with its libFuzzer runtime
set -euo pipefail

need=()
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v g++ >/dev/null 2>&1 || need+=(g++)
command -v make >/dev/null 2>&1 || need+=(make)
[ -f /usr/include/nlohmann/json.hpp ] || need+=(nlohmann-json3-dev)
if [ "${1:-}" = "--tests" ]; then
  [ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
  /usr/bin/python3 -c 'import jsonschema' >/dev/null 2>&1 || need+=(python3-jsonschema)
  command -v strace >/dev/null 2>&1 || need+=(strace)
  command -v setfacl >/dev/null 2>&1 || need+=(acl)
  command -v setfattr >/dev/null 2>&1 || need+=(attr)
fi
if [ "${1:-}" = "--fuzz" ]; then
  command -v clang++ >/dev/null 2>&1 || need+=(clang)
  compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-*.a" >/dev/null ||
    need+=(libclang-rt-14-dev)
fi
[ ${#need[@]} -eq 0 ] && exit 0

echo "installing: ${need[*]}"
if ! command -v apt-get >/dev/null 2>&1; then
  echo "error: missing ${need[*]} and no apt-get to install them" >&2
  exit 1
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! { $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}"; }; then
  echo "error: could not install ${need[*]} with apt-get" >&2
  exit 1
fi
