# Thin wrapper around CMake.
#   make run       Release build, then start the engine in the console
#   make test      installs the Debian packages the tests need when missing
#                  (tools/install-deps.sh), Release build, then the whole suite
#   make sanitize  the same with AddressSanitizer and UBSan in build-san/
#   make debug     Debug build in build-debug/
#   make install   Release build, then install under PREFIX (and DESTDIR)
#   make uninstall removes what install put there
#   make fuzz      libFuzzer targets (clang, ASan+UBSan) in build-fuzz/, each run
#                  for FUZZ_SECONDS on its seed corpus in fuzz/corpus/
JOBS ?= 2
PREFIX ?= /usr/local
DESTDIR ?=
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= fen moves epdop pgn book polyglot rc commands

.PHONY: all release run test sanitize debug fuzz clean deps install uninstall

all: release

release:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
	cmake --build build -j $(JOBS)

run: release
	./build/quorvel

deps:
	tools/install-deps.sh

test: deps release
	cd build && ctest --output-on-failure -j $(JOBS)

debug:
	cmake -S . -B build-debug -DCMAKE_BUILD_TYPE=Debug
	cmake --build build-debug -j $(JOBS)

sanitize: deps
	cmake -S . -B build-san -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON
	cmake --build build-san -j $(JOBS)
	cd build-san && ctest --output-on-failure -j $(JOBS)

fuzz:
	cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=/usr/bin/clang++
	cmake --build build-fuzz -j $(JOBS)
	fuzz/run.sh build-fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

install: release
	DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(PREFIX)"

# The files cmake --install writes (CMakeLists.txt and tools/install-plugins.cmake).
INSTALLED = games/quorvel games/quorvel-user share/games/quorvel/Quorvel.rc \
	share/man/man6/quorvel.6 share/games/plugins/xboard/quorvel.eng share/games/plugins/uci/quorvel.eng

uninstall:
	cd "$(DESTDIR)$(PREFIX)" && rm -f $(INSTALLED)
	-rmdir "$(DESTDIR)$(PREFIX)/share/games/quorvel"

clean:
	rm -rf build build-debug build-san build-fuzz
