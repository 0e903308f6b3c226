#!/usr/bin/env bash
# Fails when a configured build folder uses a file that scripts/install-deps.sh does not
# bring, so that a missing install step shows on any machine, not only on a bare one.
#
#   scripts/check-deps.sh BUILD_FOLDER...
#
# For each folder it reconfigures once with a CMake file-API query and collects every
# CMake file the configure step read (package configurations, modules) and every file
# path in the cache (compilers, libraries, the programs the tests run, pkg-config's
# libraries). Each file's Debian package (dpkg -S) must be in the install list, in the
# list's Depends, Pre-Depends or their closure (Recommends do not count: the list is
# installed without them), or in the base system (Priority required, Essential).
# Takes a few seconds per folder; needs only dpkg and apt-cache.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$(pwd -P)

# Probes that CMake and its find modules record when the files happen to be there, and
# that nothing in the build needs: optional OpenGL parts and Vulkan, and the tools beside
# the compiler (a clang build takes LLVM's archiver when present, binutils' otherwise;
# g++ brings binutils).
optional_cache_entries='^(OPENGL_egl_LIBRARY|OPENGL_glu_LIBRARY|Vulkan_[A-Za-z_]+|XKB_LIBRARY'
optional_cache_entries+='|CMAKE_(ADDR2LINE|AR|DLLTOOL|LINKER|NM|OBJCOPY|OBJDUMP|RANLIB|READELF|STRIP)'
optional_cache_entries+='|CMAKE_CXX_COMPILER_(AR|RANLIB))$'

mapfile -t listed < <(scripts/install-deps.sh --list)
declare -A provided=()
while read -r name; do
  provided[${name%%:*}]=1
done < <(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
           --no-breaks --no-replaces --no-enhances "${listed[@]}" |
         sed -n 's/^<\{0,1\}\([^ <>]\+\)>\{0,1\}$/\1/p; s/^ *|\{0,1\}[A-Za-z-]*Depends: <\{0,1\}\([^ <>]\+\)>\{0,1\}$/\1/p')
while read -r name essential priority; do
  if [ "$essential" = yes ] || [ "$priority" = required ]; then provided[$name]=1; fi
done < <(dpkg-query -W -f='${Package} ${Essential} ${Priority}\n')

# Prints "path<TAB>package" for each path given that a Debian package owns (one dpkg call
# for all: each call reads the whole package database).
owners_of() {
  dpkg-query -S "$@" 2>/dev/null | sed -n 's/^\([^:, ]\+\)\(:[a-z0-9]\+\)\{0,1\}: \(\/.*\)$/\3\t\1/p' || true
}

inside_project() {
  case "$1" in "$source_dir"/* | "$build_dir"/*) return 0 ;; *) return 1 ;; esac
}

failures=0
for folder in "$@"; do
  build_dir=$(cd "$folder" && pwd -P)
  query="$build_dir/.cmake/api/v1/query/cmakeFiles-v1"
  mkdir -p "$(dirname "$query")" && touch "$query"
  cmake "$build_dir" >/dev/null

  reply=$(ls -t "$build_dir"/.cmake/api/v1/reply/cmakeFiles-v1-*.json | head -n1)
  mapfile -t files < <(
    grep -o '"path" : "/[^"]*"' "$reply" | cut -d'"' -f4
    grep -E '^[A-Za-z0-9_]+:FILEPATH=/' "$build_dir/CMakeCache.txt" |
      grep -vE "$(sed 's/\$$/:/' <<<"$optional_cache_entries")" | cut -d= -f2-
  )

  mapfile -t files < <(printf '%s\n' "${files[@]}" | sort -u)
  external=()
  for file in "${files[@]}"; do
    [ -e "$file" ] && ! inside_project "$file" && external+=("$file")
  done
  # Symbolic links (alternatives such as /usr/bin/c++, the merged /lib) are followed when
  # the path itself is not owned.
  declare -A owner=()
  while IFS=$'\t' read -r path package; do owner[$path]=$package; done < <(owners_of "${external[@]}")
  unowned=()
  for file in "${external[@]}"; do [ -n "${owner[$file]:-}" ] || unowned+=("$file"); done
  if [ ${#unowned[@]} -gt 0 ]; then
    declare -A link_of=()
    for file in "${unowned[@]}"; do link_of[$(readlink -f "$file")]=$file; done
    while IFS=$'\t' read -r path package; do
      owner[${link_of[$path]}]=$package
    done < <(owners_of "${!link_of[@]}")
    unset link_of
  fi

  declare -A packages=()
  for file in "${external[@]}"; do
    package=${owner[$file]:-}
    if [ -z "$package" ]; then
      echo "check-deps: $file (used by $folder) belongs to no Debian package"
      failures=$((failures + 1))
    elif [ -z "${provided[$package]:-}" ] && [ -z "${packages[$package]:-}" ]; then
      echo "check-deps: $file (used by $folder) comes from $package, which scripts/install-deps.sh does not install"
      failures=$((failures + 1))
    fi
    packages[${package:-none}]=1
  done
  echo "check-deps: $folder: ${#external[@]} files from ${#packages[@]} packages"
  unset owner packages
done

if [ "$failures" -gt 0 ]; then
  echo "check-deps: add the missing packages to scripts/install-deps.sh" >&2
  exit 1
fi
