# Thin wrapper around CMake.
#   make run       Release build, then start the engine in the console
#   make test      Release build, then the whole test suite through CTest
#   make sanitize  Debug build with AddressSanitizer and UBSan, then the suite
#   make debug     Debug build in build-debug/
#   make fuzz      libFuzzer targets (clang, ASan+UBSan) in build-fuzz/, each run
#                  for FUZZ_SECONDS on its seed corpus in fuzz/corpus/
JOBS ?= 2
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= fen moves epdop pgn book rc commands

.PHONY: all release run test sanitize debug fuzz clean

all: release

release:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
	cmake --build build -j $(JOBS)

run: release
	./build/quorvel

test: release
	cd build && ctest --output-on-failure -j $(JOBS)

debug:
	cmake -S . -B build-debug -DCMAKE_BUILD_TYPE=Debug
	cmake --build build-debug -j $(JOBS)

sanitize:
	cmake -S . -B build-san -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON
	cmake --build build-san -j $(JOBS)
	cd build-san && ctest --output-on-failure -j $(JOBS)

fuzz:
	cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=/usr/bin/clang++
	cmake --build build-fuzz -j $(JOBS)
	fuzz/run.sh build-fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

clean:
	rm -rf build build-debug build-san build-fuzz
