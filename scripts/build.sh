# Sourced: configures and builds the project's three builds in <root>/build.
#   qv_build native   engines and their unit tests, natively, with ASan and UBSan
#   qv_build win64    the program and the Win32 tests for x86_64, run under wine64
#   qv_build win32    the shipped 32-bit deliverables
QV_ROOT=${QV_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}

qv_build() {
  local kind=$1; shift
  local dir="$QV_ROOT/build/$kind"
  local args=(-G Ninja -S "$QV_ROOT" -B "$dir")
  case $kind in
    native) args+=(-DCMAKE_BUILD_TYPE=Debug) ;;
    win64) args+=(-DCMAKE_TOOLCHAIN_FILE="$QV_ROOT/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release) ;;
    win32) args+=(-DCMAKE_TOOLCHAIN_FILE="$QV_ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release
                  -DQV_BUILD_TESTS=OFF) ;;
    *) echo "unknown build $kind" >&2; return 2 ;;
  esac
  cmake "${args[@]}" >"$QV_ROOT/build/$kind.configure.log" 2>&1 || {
    cat "$QV_ROOT/build/$kind.configure.log" >&2; return 1; }
  ninja -C "$dir" "$@"
}
