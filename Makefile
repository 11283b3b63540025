# Kelvo: `make run` and `make test` work on a fresh Debian 12 machine.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= meminfo textconvert period formfile settings
JOBS ?= 2
WERROR ?= OFF
CMAKE_FLAGS ?=

# Package lists by purpose: running, then what testing and the benchmarks add.
packages = $(shell grep -v '^\#' $(1))
RUN_PACKAGES := $(call packages,debian-packages.txt)
TEST_PACKAGES := $(call packages,tests/debian-packages.txt) $(call packages,bench/debian-packages.txt)
PACKAGES ?= $(RUN_PACKAGES)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps test-deps build run test test-sanitize long-run fuzz bench bench-peers bench-start format clean

all: build

# Installs the Debian packages that are not installed yet; does nothing when all are there.
deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi

# What `make test` needs on top: the test rig and the benchmark library.
test-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="$(RUN_PACKAGES) $(TEST_PACKAGES)"

build: deps
	cmake -S . -B $(BUILD) -DKELVO_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/app/kelvo

test: test-deps build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The whole suite once more with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: test-deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKELVO_SANITIZE=ON \
	  -DKELVO_BENCH=OFF -DKELVO_WERROR=$(WERROR)
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	cd $(SANITIZE_BUILD) && ctest --output-on-failure -j$(JOBS)

# The monitor offscreen for 200,000 ticks at a 1 ms period under AddressSanitizer and
# LeakSanitizer, with pointer input over its buttons and the options dialog every 1,000 ticks.
# Fails on a leak, on private memory growing by more than 64 KiB after the warm-up, or on more
# descriptors, widgets or native windows. Takes about four minutes.
long-run: test-deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKELVO_SANITIZE=ON \
	  -DKELVO_BENCH=OFF -DKELVO_WERROR=$(WERROR)
	cmake --build $(SANITIZE_BUILD) -j$(JOBS) --target kelvo_longrun
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  $(SANITIZE_BUILD)/longrun/kelvo_longrun

# Each libFuzzer target for FUZZ_SECONDS, with AddressSanitizer and UndefinedBehaviorSanitizer,
# built with clang (installed first). Inputs that reach new code go to $(FUZZ_BUILD)/found/<target>;
# a failing input stops the run and is kept in $(FUZZ_BUILD)/artifacts/. `make test` replays
# fuzz/corpus/ with any compiler.
fuzz:
	@$(MAKE) --no-print-directory deps \
	  PACKAGES="$(RUN_PACKAGES) $(call packages,fuzz/debian-packages.txt)"
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DKELVO_FUZZ=ON -DKELVO_SANITIZE=ON \
	  -DKELVO_BENCH=OFF -DKELVO_WERROR=$(WERROR)
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/found/$$t $(FUZZ_BUILD)/artifacts; \
	  dict=; [ -f fuzz/$$t.dict ] && dict=-dict=fuzz/$$t.dict; \
	  echo "== fuzz_$$t for $(FUZZ_SECONDS) s"; \
	  log=$(FUZZ_BUILD)/fuzz_$$t.log; \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    $(FUZZ_BUILD)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $$dict \
	    -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$t- $(FUZZ_BUILD)/found/$$t fuzz/corpus/$$t \
	    >$$log 2>&1 || { tail -n 60 $$log; exit 1; }; \
	  grep -E '^#[0-9]+.*(INITED|DONE)|^stat::' $$log; \
	done

bench: test-deps build
	@for b in $(BUILD)/bench/bench_*; do [ -f $$b ] && [ -x $$b ] || continue; echo "== $$b"; \
	  QT_QPA_PLATFORM=offscreen $$b --benchmark_repetitions=5 \
	    --benchmark_report_aggregates_only=true || exit 1; done

# Kelvo beside xosview, conky and a minimal Qt window, each alone on its own X server, with
# steady and with churning memory: client, X server and window-manager CPU, wake-ups, memory
# and start-up, 5 rounds of 30 s (about half an hour). Installs the peers first.
bench-peers: build
	@$(MAKE) --no-print-directory deps PACKAGES="$(call packages,bench/peers/packages.txt)"
	python3 bench/peers/peers.py $(BUILD)/app/kelvo $(BUILD)/bench/peers/peer_minimal_qt \
	  $(BUILD)/bench/peers/mapwait $(PEERS_FLAGS)

# Kelvo's start beside the minimal Qt window's, step by step: 100 starts of each in turn.
bench-start: build
	@$(MAKE) --no-print-directory deps PACKAGES="$(call packages,bench/peers/packages.txt)"
	python3 bench/peers/startphases.py $(BUILD)/app/kelvo $(BUILD)/bench/peers/peer_minimal_qt \
	  $(BUILD)/bench/peers/mapwait $(BUILD)/bench/peers/libstartstamp.so $(START_FLAGS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
