# Entry points for people: `make demo`, `make check`, `make fuzz` and `make bench`.
BUILD ?= build
JOBS ?= 2
# Sanitized builds: AddressSanitizer with UndefinedBehaviorSanitizer for all
# tests, ThreadSanitizer for the thread test, clang's libFuzzer for the fuzz targets.
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
# Release build of the benchmarks; arguments of the comparison run, e.g.
# BENCH_ARGS="--sizes 1000,10000 --clicks 50".
BENCH_BUILD ?= build-bench
BENCH_ARGS ?=
# Arguments of the load table, e.g. LOAD_ARGS="--sizes 1000,10000 --repeats 1".
LOAD_ARGS ?=
FUZZ_CXX ?= clang++-14
FUZZ_TARGETS := dxf_reader json_drawing request
# Seconds per fuzz target for `make fuzz`. The short run inside `make check`
# tries a fixed number of inputs from a fixed seed instead, so that it tries
# the same inputs on every machine however fast (about 20 s each here), with
# a time limit only as a guard.
FUZZ_SECONDS ?= 60
CHECK_FUZZ_READER_RUNS ?= 150000
CHECK_FUZZ_REQUEST_RUNS ?= 2000
CHECK_FUZZ_SECONDS ?= 180
# Per input: 30 s (the request budget plus a margin), 2 GB, 4 KB long.
FUZZ_FLAGS ?= -timeout=30 -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1

# Sanitized builds compile at -O1 with line tables only: quicker to build, and
# reports still name file and line.
SANITIZER_CONFIG := -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -g1" \
                    -DPPHATCH_BUILD_BENCH=OFF
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
                 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
                 TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

.PHONY: all deps configure build check check-all check-main check-asan check-tsan check-fuzz \
        fuzz fuzz-build demo bench mutants clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# `make check` is what CI runs: the main suite, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, the thread test under
# ThreadSanitizer, and a short run of each fuzz target.
check: check-main check-asan check-tsan check-fuzz

# Kept for muscle memory: the same as `make check`.
check-all: check

check-main: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer
# (with float-to-integer overflow checks, which GCC leaves out of "undefined").
check-asan: deps
	@cmake -S . -B $(ASAN_BUILD) $(SANITIZER_CONFIG) -DPPHATCH_SANITIZE=address,undefined,float-cast-overflow > /dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@$(SANITIZER_ENV) ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# Several threads hatching at once, built with ThreadSanitizer.
check-tsan: deps
	@cmake -S . -B $(TSAN_BUILD) $(SANITIZER_CONFIG) -DPPHATCH_SANITIZE=thread > /dev/null
	@cmake --build $(TSAN_BUILD) --target test_threads -j $(JOBS)
	@$(SANITIZER_ENV) $(TSAN_BUILD)/tests/test_threads

fuzz-build: deps
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=$(FUZZ_CXX) $(SANITIZER_CONFIG) \
	  -DPPHATCH_SANITIZE=address,undefined -DPPHATCH_BUILD_FUZZ=ON -DPPHATCH_BUILD_TESTS=OFF > /dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) $(addprefix --target fuzz_,$(FUZZ_TARGETS))

# Runs each fuzz target for $(1) seconds from the checked-in seeds, with the
# extra libFuzzer flags $(2), in which $$runs is the target's input count for
# `make check`; new inputs go to $(3) (by default $(FUZZ_BUILD)/corpus), a
# failing input to $(FUZZ_BUILD)/crashes.
define run-fuzz
	@for t in $(FUZZ_TARGETS); do \
	  corpus=$(if $(3),$(3),$(FUZZ_BUILD)/corpus)/$$t; mkdir -p $$corpus $(FUZZ_BUILD)/crashes; \
	  runs=$(CHECK_FUZZ_READER_RUNS); [ $$t = request ] && runs=$(CHECK_FUZZ_REQUEST_RUNS); \
	  dict=""; [ -f fuzz/$$t.dict ] && dict="-dict=fuzz/$$t.dict"; \
	  echo "fuzz_$$t"; \
	  if ! $(SANITIZER_ENV) $(FUZZ_BUILD)/fuzz/fuzz_$$t $(FUZZ_FLAGS) $(2) -max_total_time=$(1) $$dict \
	      -artifact_prefix=$(FUZZ_BUILD)/crashes/$$t- \
	      $$corpus fuzz/corpus/$$t > $(FUZZ_BUILD)/fuzz_$$t.log 2>&1; then \
	    tail -n 80 $(FUZZ_BUILD)/fuzz_$$t.log; echo "fuzz_$$t FAILED"; exit 1; \
	  fi; \
	  grep -E '^stat::number_of_executed_units|^Done' $(FUZZ_BUILD)/fuzz_$$t.log; \
	done
endef

# A fixed seed and input count keep the short run in `make check`
# repeatable: a pass or failure is the code's, not the machine's. It starts
# from the checked-in seeds alone, not from what earlier runs added.
check-fuzz: fuzz-build
	@rm -rf $(FUZZ_BUILD)/check-corpus
	$(call run-fuzz,$(CHECK_FUZZ_SECONDS),-seed=1 -runs=$$runs,$(FUZZ_BUILD)/check-corpus)

fuzz: fuzz-build
	$(call run-fuzz,$(FUZZ_SECONDS))

demo: build
	@$(BUILD)/pphatch demo

# Picks through the Python module against the same picks through C++ (part
# of `make bench`; `make bench-python` runs it alone).
BENCH_PYTHON = /usr/bin/python3 bench/python_picks.py \
  --tool $(BENCH_BUILD)/bench/pphatch_cpp_picks --module $(BENCH_BUILD)/python
.PHONY: bench-python
bench-python:
	@scripts/install-deps bench
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DPPHATCH_BUILD_BENCH=ON \
	  -DPPHATCH_BUILD_TESTS=OFF > /dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target pphatch_cpp_picks pphatch_python
	@$(BENCH_PYTHON)

# The benchmarks need GEOS, CGAL and Google Benchmark, and a Release build
# of their own. The comparison table goes to the terminal and to
# $(BENCH_BUILD)/bench-results.csv.
bench:
	@scripts/install-deps bench
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DPPHATCH_BUILD_BENCH=ON \
	  -DPPHATCH_BUILD_TESTS=OFF > /dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target pphatch_compare pphatch_micro \
	  pphatch_cpp_picks pphatch_python pphatch_load_table pphatch_dxflib_read pphatch_cli
	@$(BENCH_PYTHON)
	@$(BENCH_BUILD)/bench/pphatch_micro --benchmark_min_time=0.2
	@$(BENCH_BUILD)/bench/pphatch_compare --dxf --csv $(BENCH_BUILD)/bench-results.csv $(BENCH_ARGS)
	@$(BENCH_BUILD)/bench/pphatch_load_table --pphatch $(BENCH_BUILD)/pphatch \
	  --dxflib $(BENCH_BUILD)/bench/pphatch_dxflib_read --csv $(BENCH_BUILD)/load-results.csv $(LOAD_ARGS)

# Mutation check of the main suite (not part of `make check`): MUTANTS small
# faults drawn from MUTANT_SEED, each built and tested in $(MUTANT_BUILD).
MUTANTS ?= 150
MUTANT_SEED ?= 1
MUTANT_BUILD ?= build-mutants
mutants: deps
	@scripts/mutants -n $(MUTANTS) --seed $(MUTANT_SEED) --build $(MUTANT_BUILD)

clean:
	rm -rf $(BUILD) $(BENCH_BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD)
