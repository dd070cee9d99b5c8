# Thin wrapper around CMake.
#   make run       Release build, then start the engine in the console
#   make test      Release build, then the whole test suite through CTest
#   make sanitize  Debug build with AddressSanitizer and UBSan, then the suite
#   make debug     Debug build in build-debug/
#   make bench     Release build, then the short benchmark (last lines: nodes, nps)
JOBS ?= 2

.PHONY: all release run test sanitize debug bench clean

all: release

release:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
	cmake --build build -j $(JOBS)

run: release
	./build/quorvel

test: release
	cd build && ctest --output-on-failure -j $(JOBS)

bench: release
	./build/quorvel bench

debug:
	cmake -S . -B build-debug -DCMAKE_BUILD_TYPE=Debug
	cmake --build build-debug -j $(JOBS)

sanitize:
	cmake -S . -B build-san -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON
	cmake --build build-san -j $(JOBS)
	cd build-san && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf build build-debug build-san
