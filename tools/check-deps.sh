#!/usr/bin/env bash
# Fails when the build or a test uses something that tools/install-deps.sh
# does not install, so that a machine set up by hand cannot hide a missing
# install step. It collects:
#   - every find_package and every plain library a target links, and the
#     archives a set(..._archives_by_name ...) line names,
#   - every program the tests call (HaveTool, RunCommand, spawned, or an
#     absolute /usr/bin path) and those the test scripts list on a
#     "# Needs:" line,
#   - the faces the window asks for,
# maps each to its Debian package with the table below and checks that
# install-deps.sh names the package.
# Needs: grep sed sort find tr
set -euo pipefail
cd "$(dirname "$0")/.."

# What each name comes from; "-" marks what every Debian system has.
declare -A package_of=(
  # find_package and linked libraries
  [Qt6]=qt6-base-dev [GTest]=libgtest-dev [benchmark]=libbenchmark-dev
  [jpeg]=libjpeg62-turbo-dev [z]=zlib1g-dev [Threads]=-
  # pkg_check_modules
  [cairo]=libcairo2-dev [libdeflate]=libdeflate-dev
  # archives linked by name (set(..._archives_by_name ...))
  [cairo]=libcairo2-dev [pixman-1]=libpixman-1-dev [fontconfig]=libfontconfig-dev [freetype]=libfreetype-dev
  [png16]=libpng-dev [expat]=libexpat1-dev [brotlidec]=libbrotli-dev [brotlicommon]=libbrotli-dev
  # programs
  [Xvfb]=xvfb [desktop-file-validate]=desktop-file-utils [appstreamcli]=appstream
  [man]=man-db [groff]=groff-base [cpack]=cmake [cmake]=cmake [dpkg-shlibdeps]=dpkg-dev [file]=file
  [pngcheck]=pngcheck [tiffinfo]=libtiff-tools [tiff2rgba]=libtiff-tools [inkscape]=inkscape [python3]=python3 [PkgConfig]=pkg-config [giftext]=giflib-tools
  [identify]=imagemagick [convert]=imagemagick [convert-im6.q16]=imagemagick [import]=imagemagick
  [dpkg-deb]=- [dpkg-query]=- [grep]=- [sed]=- [sort]=- [find]=- [awk]=- [command]=- [mktemp]=- [tr]=-
  # this project's own programs
  [kobalto]=- [kobalto-cli]=-
  # faces
  [IPAPGothic]=fonts-ipafont-gothic [IPAPMincho]=fonts-ipafont-mincho
)

names() {
  local cmakes
  cmakes=$(find . -name CMakeLists.txt -not -path './build*' -not -path '*/CMakeFiles/*' -not -path './.git/*')
  # find_package(Name ...)
  grep -ho 'find_package( *[A-Za-z0-9_]*' $cmakes | sed 's/.*( *//'
  # pkg_check_modules(PREFIX [REQUIRED] [IMPORTED_TARGET] module...)
  grep -h 'pkg_check_modules(' $cmakes | sed 's/.*pkg_check_modules( *[A-Za-z0-9_]* *//; s/)$//' | tr ' ' '\n' |
    grep -vE '^(REQUIRED|QUIET|IMPORTED_TARGET|GLOBAL|NO_CMAKE_PATH|NO_CMAKE_ENVIRONMENT_PATH|)$'
  # target_link_libraries(target KEYWORD lib...): plain names that are no
  # target of this project.
  local targets
  targets=$(grep -hoE '(add_library|add_executable|kobalto_library|kobalto_tests)\( *[A-Za-z0-9_-]+' $cmakes |
            sed 's/.*( *//' | sort -u)
  grep -h 'target_link_libraries' $cmakes | sed 's/.*target_link_libraries( *[^ ]* *//; s/)$//' | tr ' ' '\n' |
    grep -vE '^(PUBLIC|PRIVATE|INTERFACE|)$|::|\$|^kobalto_' | grep -vxF "$targets" || true
  # Archives a CMakeLists.txt links by name: set(NAME_archives_by_name lib...).
  grep -hoE 'set\( *[a-z_]+_archives_by_name [^)]*' $cmakes | sed 's/set( *[a-z_]*_archives_by_name //' | tr ' ' '\n'
  # Programs the tests call.
  local tests
  tests=$(find tests -name '*.cpp' -o -name '*.h')
  grep -hoE 'HaveTool\("[^"]+"\)' $tests | sed 's/HaveTool("//; s/")//; s|.*/||'
  grep -hoE 'RunCommand\("([A-Z_]+=[^ ]* )*[^ "]+' $tests | sed 's/RunCommand("//; s/^\([A-Z_]*=[^ ]* \)*//; s|.*/||'
  grep -hoE 'posix_spawnp?\([^,]*, *"[^"]+"' $tests | sed 's/.*"\([^"]*\)"/\1/'
  grep -hoE '"/usr/bin/[A-Za-z0-9._-]+' $tests | sed 's|"/usr/bin/||'
  # Scripts that tests run list their programs.
  local scripts
  scripts=$(grep -ho 'COMMAND [^ ]*tools/[a-z-]*\.sh' tests/CMakeLists.txt | sed 's|.*tools/|tools/|' | sort -u)
  for s in $scripts; do
    grep -q '^# Needs:' "$s" || { echo "MISSING-NEEDS:$s"; continue; }
    sed -n 's/^# Needs: *//p' "$s" | tr ' ' '\n'
  done
  # The faces the window asks for.
  grep -hoE 'QStringLiteral\("IPA[A-Za-z]+"\)' app/Fonts.cpp | sed 's/.*("//; s/")//'
}

listed=$(tools/install-deps.sh --list)
fail=0
for name in $(names | sort -u); do
  if [[ $name == MISSING-NEEDS:* ]]; then
    echo "${name#MISSING-NEEDS:} runs as a test but has no '# Needs:' line naming the programs it calls" >&2
    fail=1
    continue
  fi
  package=${package_of[$name]:-}
  if [ -z "$package" ]; then
    echo "$name is used, but tools/check-deps.sh knows no package for it: add it to its table, and the package to tools/install-deps.sh" >&2
    fail=1
  elif [ "$package" != - ] && ! grep -qxF "$package" <<<"$listed"; then
    echo "$name is used, but tools/install-deps.sh does not install $package" >&2
    fail=1
  fi
done
[ $fail = 0 ] && echo "every package the build and the tests use is installed by tools/install-deps.sh"
exit $fail
