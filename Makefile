# Two commands for a fresh machine: `make run` and `make test`. Both install what is
# missing (scripts/setup.sh), configure and build first.
BUILD ?= build
JOBS ?= $(shell nproc)

# The tests built a second time with the address and undefined-behaviour sanitizers,
# in a build folder of their own; any finding fails the run (CI runs both).
SANITIZED_BUILD ?= build-asan
SANITIZE := -fsanitize=address,undefined -fno-omit-frame-pointer
SANITIZER_OPTIONS := ASAN_OPTIONS=abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: setup build run test bench test-sanitized
setup:
	bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/app/zyqhmz

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD) --target bench
	@cat $(BUILD)/bench/benchmark_summary.txt

test-sanitized: setup
	cmake -S . -B $(SANITIZED_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_C_FLAGS=$(SANITIZE)" \
	  "-DCMAKE_CXX_FLAGS=$(SANITIZE)" "-DCMAKE_EXE_LINKER_FLAGS=$(SANITIZE)" >/dev/null
	$(SANITIZER_OPTIONS) cmake --build $(SANITIZED_BUILD) -j $(JOBS)
	cd $(SANITIZED_BUILD) && $(SANITIZER_OPTIONS) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
