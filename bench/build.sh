# Sourced by the benchmarks: bench_build NAME builds tabledoc and tablegraph
# for release in $build (the log in $build/build.log) and sets $tabledoc and
# $tablegraph; on a failure it shows the log and exits, NAME in the message.
bench_build() {
  mkdir -p "$build"
  if ! { cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF &&
         cmake --build "$build" -j2 --target tabledoc tablegraph; } >"$build/build.log" 2>&1; then
    cat "$build/build.log" >&2
    echo "$1: build failed" >&2
    exit 1
  fi
  tabledoc=$build/tabledoc/tabledoc
  tablegraph=$build/tablegraph/tablegraph
}
