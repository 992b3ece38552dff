# The two commands that matter: `make run` and `make test`. Both install what
# the machine lacks, configure, build, then run or test.
BUILD      ?= build
JOBS       ?= $(shell nproc)
# CI treats warnings as errors; a developer's build only shows them.
WERROR     ?= $(if $(CI),ON,OFF)
CMAKE_ARGS ?=
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build run test asan tsan bench fuzz clean format format-check screenshots

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_WERROR=$(WERROR) $(CMAKE_ARGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/orvane --simulate

# The format check comes after the tests, so a run shows both.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --timeout 300
	@scripts/check-format

# UBSan only prints what it finds unless told to stop, which would let a test pass.
asan: deps
	LSAN_OPTIONS="suppressions=$(CURDIR)/tests/lsan.supp $(LSAN_OPTIONS)" \
	UBSAN_OPTIONS="halt_on_error=1 print_stacktrace=1 $(UBSAN_OPTIONS)" \
	  $(MAKE) test BUILD=build-asan CMAKE_ARGS="-DORVANE_SANITIZE=address"

tsan: deps
	TSAN_OPTIONS="suppressions=$(CURDIR)/tests/tsan.supp $(TSAN_OPTIONS)" \
	  $(MAKE) test BUILD=build-tsan CMAKE_ARGS="-DORVANE_SANITIZE=thread"

# Pictures of the real program for the README, taken under Xvfb into docs/.
screenshots: configure
	cmake --build $(BUILD) -j $(JOBS) --target orvane orvanectl
	scripts/screenshots.sh $(BUILD)/bin docs

# Every benchmark, then one table of the program-level figures beside their
# goals (bench/goals.txt). Fails only when a benchmark program fails.
bench: build
	@bench/run.sh $(BUILD)

fuzz: deps
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DORVANE_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target orvane_fuzzers
	@for f in build-fuzz/fuzz/*_fuzz; do \
	  [ -x "$$f" ] || continue; \
	  corpus=fuzz/corpus/$$(basename $$f); mkdir -p $$corpus; \
	  echo "== $$f"; "$$f" -max_total_time=$(FUZZ_SECONDS) $$corpus fuzz/seeds/$$(basename $$f) || exit 1; \
	done

# Formats every tracked C++ file with the repository's .clang-format.
format: deps
	git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format -i

format-check: deps
	@scripts/check-format

clean:
	rm -rf build build-asan build-tsan build-fuzz
