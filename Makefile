# The two commands a player or developer needs: `make run` and `make test`.
# Both install what is missing first, so they work on a fresh Debian 12 machine.

JOBS ?= $(shell nproc)
FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h')

.PHONY: deps run test package-check bench bench-scene fuzz format format-check release install package art

deps:
	@bash scripts/install-deps.sh

release: deps
	@cmake --preset release >/dev/null
	@cmake --build build/release -j $(JOBS)

run: release
	./build/release/src/app/pipfield

PREFIX ?= /usr/local
install: release
	cmake --install build/release --prefix $(PREFIX)

package: release
	cd build/release && cpack -G DEB

test: deps
	@cmake --preset asan >/dev/null
	@cmake --build build/asan -j $(JOBS)
	@$(MAKE) --no-print-directory format-check
	cd build/asan && ctest --output-on-failure -j $(JOBS) --timeout 600
	@$(MAKE) --no-print-directory package-check

# The .deb of an optimised build without tests or benchmarks, checked with lintian, desktop-file-validate
# and appstreamcli, then unpacked into a temporary root and run from there.
package-check: deps
	@cmake --preset package >/dev/null
	JOBS=$(JOBS) bash tests/package/check-package.sh . build/package

bench: release
	./build/release/bench/pipfield-bench

# The strip scene for 60 s under Xvfb with the late-game demo orchard at night.
bench-scene: release
	bash bench/scene/run.sh ./build/release/bench/scene/pipfield-scene-bench --seconds 60

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build build/fuzz -j $(JOBS) --target fuzz-save-decode
	mkdir -p build/fuzz/corpus
	cp -n tests/data/*.json build/fuzz/corpus/ 2>/dev/null || true
	./build/fuzz/fuzz/fuzz-save-decode -max_total_time=60 -print_final_stats=1 build/fuzz/corpus

# Every image to build/art/NAME.png, with an upscaled, labelled contact sheet for review.
art: deps
	@cmake -S . -B build/spritegen -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIPFIELD_TESTS=OFF -DPIPFIELD_BENCH=OFF >/dev/null
	@cmake --build build/spritegen --target pipfield-spritegen -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ./build/spritegen/tools/spritegen/pipfield-spritegen --contact-sheet build/art
	@echo "build/art/contact-sheet.png"

format:
	clang-format -i $(FORMAT_FILES)

format-check:
	@clang-format --dry-run --Werror $(FORMAT_FILES)
