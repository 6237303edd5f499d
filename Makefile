# The two commands a new developer needs: `make run` and `make test`.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_SECONDS ?= 60
# Ninja when it is there (scripts/install-deps.sh installs it); a folder keeps the generator
# it was first configured with.
generator = $(if $(wildcard $(1)/CMakeCache.txt),,-G "$(if $(shell command -v ninja),Ninja,Unix Makefiles)")

.PHONY: all deps build run test asan-configure asan-test fuzz fuzz-build bench deb install clean \
  format-check

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake $(call generator,$(BUILD)) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-sample.sh $(BUILD)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer, built with clang; the
# same build holds the libFuzzer targets.
asan-configure: deps
	cmake $(call generator,$(ASAN_BUILD)) -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DLEXORA_SANITIZE=ON -DLEXORA_FUZZ=ON \
	  -DLEXORA_BENCH=OFF

asan-test: asan-configure
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# The fuzz targets (libFuzzer, in the sanitizer build), each run for FUZZ_SECONDS on its seed
# corpus, as many at once as there are cores.
fuzz-build: asan-configure
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target fuzz

fuzz: fuzz-build
	scripts/run-fuzz.sh $(ASAN_BUILD) $(FUZZ_SECONDS)

bench: build
	@scripts/run-bench.sh $(BUILD)

# The Debian package lexora_VERSION_ARCH.deb, built from the install rules and copied here.
deb: build
	rm -f $(BUILD)/lexora_*.deb
	cd $(BUILD) && cpack -G DEB
	cp $(BUILD)/lexora_*.deb .
	@ls -1 lexora_*.deb

# Installs into PREFIX (default /usr/local).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

# Fails, naming the file and line, when a tracked source differs from clang-format's output
# (`clang-format -i FILE` mends it).
format-check: deps
	git ls-files -z '*.cc' '*.h' | xargs -0 clang-format --dry-run --Werror
