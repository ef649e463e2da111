# dorirova: the two everyday commands, and a few more.
#   make run       install what is missing, build, start the presentation
#   make test      install what is missing, build, run every test
#   make install   the program, desktop entry, icons, metainfo and manual pages
#                  under PREFIX (/usr/local); DESTDIR stages them elsewhere
#   make package   a Debian package, build/dorirova_<version>_<arch>.deb
#   make test-clean-machine   the two commands above on a brand-new Debian 12
.PHONY: all run test test-asan deps build bench bench-recording assets clean install package test-clean-machine

BUILD     ?= build
BUILD_ASAN ?= build-asan
JOBS      ?= $(shell nproc)

# Debian packages the build, the tests and the tools need; the installation's
# checks validate with desktop-file-utils and appstream, render with man-db and
# lint the manual pages with mandoc; the package's dependencies come from
# dpkg-dev's dpkg-shlibdeps, which needs file, and lintian checks the package;
# the Wayland session's test runs weston with xwayland, and the window's
# decorations there come from libdecor's plugin.
PACKAGES := cmake g++ make pkg-config \
            libsdl2-dev libfltk1.3-dev libgl-dev libosmesa6-dev \
            libpng-dev libjpeg62-turbo-dev libopenmpt-dev libsndfile1-dev libxrandr-dev libegl-dev \
            libavformat-dev libavcodec-dev libswscale-dev libavutil-dev \
            libgtest-dev \
            xvfb xauth xdotool x11-utils imagemagick \
            libjpeg-turbo-progs openmpt123 xmp \
            xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils \
            desktop-file-utils appstream man-db mandoc \
            dpkg-dev file lintian \
            weston xwayland libdecor-0-plugin-1-cairo

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# $(call install-missing,PACKAGES): installs those of the Debian packages
# that are not installed yet (through sudo unless root).
define install-missing
missing=$$(for p in $(1); do \
    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
if [ -n "$$missing" ]; then \
    echo "Installing: $$missing"; \
    $(SUDO) apt-get update -q && \
    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
fi
endef

all: build

deps:
	@$(call install-missing,$(PACKAGES))

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# The program alone: starting it waits for nothing else to compile.
run: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target dorirova
	./$(BUILD)/dorirova

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

PREFIX ?= /usr/local

# Run as root (sudo make install) after `make`, it configures nothing again,
# so the build folder stays its owner's; it builds only what is out of date.
install:
	@[ -f $(BUILD)/CMakeCache.txt ] || $(MAKE) build
	cmake --build $(BUILD) -j $(JOBS) --target dorirova rezpack compressed_docs
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

package: build
	cmake --build $(BUILD) --target package

test-asan: deps
	cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DDORIROVA_SANITIZE=ON
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && ASAN_OPTIONS=detect_leaks=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    DORIROVA_E2E_SLOWDOWN=3 \
	    ctest --output-on-failure -j $(JOBS)

# What the benchmarks need beyond the build: valgrind's callgrind for counting
# a frame's instructions (bench/frame_work_run.cpp, bench/frame_instructions.sh)
# and bc for the sums.
BENCH_PACKAGES := valgrind bc

# Start-up, frame rate and memory on this machine, against a private Xvfb that
# bench/run_bench.sh starts and stops; a few minutes. Builds only what it runs.
bench: deps
	@$(call install-missing,$(BENCH_PACKAGES))
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	bench/run_bench.sh ./$(BUILD)/bench/dorirova_bench
	bench/run_bench.sh ./$(BUILD)/bench/dorirova_bench own-show

# The content first, then the program that carries it, then the README's
# screenshot from that program: the first cross-fade, the first member chosen.
assets: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target assets
	cmake --build $(BUILD) -j $(JOBS) --target dorirova
	./$(BUILD)/dorirova --still 4.2 docs/screenshot.png --size 1024x768 --keys 0:Down

# Recording speed: 30 s at 1280 x 720 and 30 fps, then the whole presentation
# at 1920 x 1080 and 60 fps (about five minutes); no display needed.
bench-recording: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target dorirova_recording_bench
	uptime
	./$(BUILD)/bench/dorirova_recording_bench 1280x720 30 30
	./$(BUILD)/bench/dorirova_recording_bench 1920x1080 60 whole
	uptime

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) build-fuzz

# `make fuzz`: the archive reader and the image loaders under libFuzzer
# (clang, with address and undefined-behaviour checks), FUZZ_SECONDS each
# (default 60), seeded; crashers land in build-fuzz/fuzz-crashes/. Not part of
# `make test`.
FUZZ_PACKAGES := clang libclang-rt-14-dev

.PHONY: fuzz
fuzz: deps
	@$(call install-missing,$(FUZZ_PACKAGES))
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORIROVA_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target fuzzers rezpack
	tests/fuzz/run_fuzzers.sh build-fuzz $(or $(FUZZ_SECONDS),60)

# The README's promise on a machine that has nothing: a minimal Debian 12
# (debootstrap) with only git, make and sudo, where a fresh clone of HEAD runs
# `make run` until the settings dialog shows and `make test`, as a user with
# sudo and as root, then installs and purges the package
# (tests/clean_machine/run.sh; needs root, about half an hour).
CLEAN_MACHINE_PACKAGES := debootstrap debian-archive-keyring xvfb xdotool

test-clean-machine:
	@$(call install-missing,$(CLEAN_MACHINE_PACKAGES))
	$(SUDO) tests/clean_machine/run.sh $(BUILD)/clean-machine
