# The two commands a player or developer needs: `make run` and `make test`.
# Both install what is missing first, so they work on a fresh Debian 12 machine.

JOBS ?= $(shell nproc)
FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h')
FUZZ_CHECK_SECONDS ?= 15

.PHONY: deps run test translations package-check mutate bench bench-scene bench-desktop fuzz fuzz-build fuzz-check format format-check release install package art tidy tidy-fix tidy-build

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

# After the sanitizer build, the tests and then the fuzzing run in front; the package check (an optimised build
# of its own) and clang-tidy run beside them at the lowest priority, on what the tests leave of the processors
# (end-to-end checks wait on window managers, the fixed-time fuzzing uses one core). Their output prints at
# the end, and either one failing fails the run.
test: deps
	@cmake --preset asan >/dev/null
	@cmake --build build/asan -j $(JOBS)
	@$(MAKE) --no-print-directory format-check
	@cmake --preset fuzz >/dev/null
	@nice -n 19 $(MAKE) --no-print-directory package-check >build/package-check.log 2>&1 & package=$$!; \
	nice -n 19 python3 scripts/tidy.py $(TIDY_ARGS) >build/tidy.log 2>&1 & tidy=$$!; status=0; \
	(cd build/asan && ctest --output-on-failure -j $(JOBS) --timeout 600) && \
	$(MAKE) --no-print-directory fuzz-check || status=$$?; \
	wait $$package || status=1; cat build/package-check.log; \
	wait $$tidy || status=1; cat build/tidy.log; exit $$status

# The catalogues' Linguist sources in resources/translations brought up to date with the program's texts by lupdate,
# every translation of a text still there kept; NEW=de starts the German one.
translations: deps
	python3 scripts/catalogue.py update $(if $(NEW),--new $(NEW))

# The .deb of an optimised build without tests or benchmarks, checked with lintian, desktop-file-validate
# and appstreamcli, then unpacked into a temporary root and run from there.
package-check: deps
	@cmake --preset package >/dev/null
	JOBS=$(JOBS) bash tests/package/check-package.sh . build/package

# Mutation testing of src/model and src/game (scripts/mutate.py): MUTATE_SAMPLE mutants per layer drawn
# with MUTATE_SEED, each built in a copy of the sources under build/mutate and judged by its layer's tests.
MUTATE_SEED ?= 1
MUTATE_SAMPLE ?= 100
mutate: deps
	python3 scripts/mutate.py --seed $(MUTATE_SEED) --sample $(MUTATE_SAMPLE) $(MUTATE_ARGS)

bench: release
	./build/release/bench/pipfield-bench

# The strip scene for 60 s under Xvfb with the late-game demo orchard at night.
bench-scene: release
	bash bench/scene/run.sh ./build/release/bench/scene/pipfield-scene-bench --seconds 60

# The real program under Xvfb and openbox with a three-day-old late-game save: launch time, CPU of
# the program and of the X server, memory and paints, by day, by night and with the strip hidden.
BENCH_SECONDS ?= 60
bench-desktop: release
	bash bench/desktop/run.sh ./build/release/src/app/pipfield $(BENCH_SECONDS) ./build/release/bench/desktop/pipfield-paint-floor \
		./build/release/bench/desktop/pipfield-fake-desktop-service

FUZZ_TARGETS = fuzz-save-decode fuzz-game
FUZZ_SECONDS ?= 60

fuzz-build: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build build/fuzz -j $(JOBS) --target $(FUZZ_TARGETS)

# Each target for FUZZ_SECONDS on its own corpus, which grows from the saves in tests/data.
fuzz: fuzz-build
	@for t in $(FUZZ_TARGETS); do \
		mkdir -p build/fuzz/corpus/$$t && { cp -n tests/data/*.json build/fuzz/corpus/$$t/ || true; } && \
		./build/fuzz/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-dict=fuzz/save.dict build/fuzz/corpus/$$t || exit 1; \
	done

# The short run of `make test`: each target for a fixed time from the seeds alone, so that every run
# starts from the same corpus.
fuzz-check: fuzz-build
	@for t in $(FUZZ_TARGETS); do \
		rm -rf build/fuzz/check/$$t && mkdir -p build/fuzz/check/$$t && cp tests/data/*.json build/fuzz/check/$$t/ && \
		./build/fuzz/fuzz/$$t -max_total_time=$(FUZZ_CHECK_SECONDS) -dict=fuzz/save.dict \
			-artifact_prefix=build/fuzz/check/ build/fuzz/check/$$t 2>build/fuzz/check/$$t.log \
			|| { tail -n 60 build/fuzz/check/$$t.log; exit 1; }; \
		tail -n 1 build/fuzz/check/$$t.log; \
	done

# Every image to build/art/NAME.png, with an upscaled, labelled contact sheet for review.
art: deps
	@cmake -S . -B build/spritegen -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIPFIELD_TESTS=OFF -DPIPFIELD_BENCH=OFF >/dev/null
	@cmake --build build/spritegen --target pipfield-spritegen -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ./build/spritegen/tools/spritegen/pipfield-spritegen --contact-sheet build/art
	@echo "build/art/contact-sheet.png"

# clang-tidy with the checks in .clang-tidy over every translation unit of the program, its art, the tests and the
# tools (asan build) and of the fuzz targets and benchmarks (fuzz build, configured only).
TIDY_UNITS = 'build/asan:(src|tests|tools|resources)/' 'build/fuzz:(fuzz|bench)/'
tidy-build: deps
	@cmake --preset asan >/dev/null
	@cmake --build build/asan -j $(JOBS)
	@cmake --preset fuzz >/dev/null

# TIDY_ONLY (a pattern on the path, e.g. TIDY_ONLY=src/scene) narrows the run while working on findings.
TIDY_ARGS = -j $(JOBS) $(if $(TIDY_ONLY),--only '$(TIDY_ONLY)') $(TIDY_UNITS)
tidy: tidy-build
	python3 scripts/tidy.py $(TIDY_ARGS)

# The mechanical fixes clang-tidy knows (braces, empty()), applied once per file and formatted.
tidy-fix: tidy-build
	python3 scripts/tidy.py --fix $(TIDY_ARGS)
	git diff --name-only -- '*.cpp' '*.h' | xargs -r clang-format -i

format:
	clang-format -i $(FORMAT_FILES)

format-check:
	@clang-format --dry-run --Werror $(FORMAT_FILES)
