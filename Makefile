# The two entry points of the README. Both install what is missing first.
JOBS ?= 2
GEN := -G Ninja

.PHONY: run test deps build build-asan build-tsan fuzz bench clean format install package soak

deps:
	@tools/install-deps.sh

build: deps
	@cmake -S . -B build $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build -j $(JOBS)

run: build
	@tools/run-editor.sh

# CMake install into /usr/local (or PREFIX); DESTDIR stages it elsewhere.
PREFIX ?= /usr/local
install: build
	@DESTDIR=$(DESTDIR) cmake --install build --prefix $(PREFIX)

# A .deb of the same files (prefix /usr), in build/.
package: build
	@cd build && cpack -G DEB

# Plain suite, then ThreadSanitizer on the threading tests, then the whole
# suite (with short fuzz runs, the GUI test included) under AddressSanitizer
# + UBSan; the fault matrix over JACK measures the link, not memory, and runs
# in the plain stage only. ctest's summary of the last stage ends the output;
# any failure stops with a non-zero status.
test: build
	@cd build && ctest --output-on-failure -j $(JOBS)
	@cmake -S . -B build-tsan $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOREL_SANITIZE=thread \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build build-tsan -j $(JOBS) --target tsan_tests
	@cd build-tsan && ctest --output-on-failure -L tsan
	@cmake -S . -B build-asan $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOREL_SANITIZE=address \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && ctest --output-on-failure -j $(JOBS) -LE matrix

# The end-to-end and window tests in a loop under ASan+UBSan and TSan with
# stress-ng loading the cores beside them: make soak SOAK_RUNS=50
SOAK_RUNS ?= 20
soak: deps
	@cmake -S . -B build-asan $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOREL_SANITIZE=address \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cmake -S . -B build-tsan $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOREL_SANITIZE=thread \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build build-tsan -j $(JOBS)
	@tools/soak.sh $(SOAK_RUNS)

# Longer fuzzing on demand: make fuzz FUZZ_SECONDS=600
FUZZ_SECONDS ?= 300
fuzz: deps
	@cmake -S . -B build-asan $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOREL_SANITIZE=address \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build build-asan -j $(JOBS) --target fuzzers
	@tools/run-fuzzers.sh build-asan $(FUZZ_SECONDS)

bench: build
	@for b in build/bench/bench_*; do $$b; done

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-tsan
