# Sourced: the Debian packages the build and the tests need, installed when missing.
QV_BUILD_PACKAGES="cmake ninja-build g++ mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  googletest halibut nsis"
QV_RUN_PACKAGES="wine64 xvfb fonts-wine"
QV_TEST_PACKAGES="imagemagick x11-utils sharutils coreutils mpack macutils uudeview python3-yenc time bc clang libclang-rt-14-dev"

qv_install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}
