# The commands a newcomer needs; each installs what is missing first.
FUZZ_SECONDS ?= 30
# The readers alone run orders of magnitude faster than a whole search or exchange; each runs a
# fixed number of inputs rather than a time, so that a slow or busy machine still reaches it.
FUZZ_READER_RUNS ?= 1000000
FUZZ_TARGETS := fuzz_search_reply fuzz_get_reply fuzz_set_reply
FUZZ_READERS := fuzz_read_search_reply fuzz_read_get_reply fuzz_read_set_reply

.PHONY: all deps deps-windows deps-windows32 build run test sanitize-test fuzz bench demo screenshots package \
        format windows windows32 windows-test windows-installer screenshots-windows clean

all: build

deps:
	@scripts/install-deps.sh

deps-windows:
	@scripts/install-deps.sh windows

deps-windows32:
	@scripts/install-deps.sh windows32

build/%/build.ninja: | deps
	cmake --preset $* >/dev/null

build/windows/build.ninja: | deps-windows
	cmake --preset windows >/dev/null

build/windows32/build.ninja: | deps-windows32
	cmake --preset windows32 >/dev/null

build: deps build/default/build.ninja
	cmake --build --preset default

run: build
	build/default/app/lumisk

# Three simulated adapters and an SMB server on a LAN of network namespaces, and the window on
# this display (root).
demo: build
	build/default/tests/gui/lumisk_demo

# PNGs of the main window (a focused button, a DHCP client's greyed fields, both drop-down lists
# open), the About box, the language, restart and login dialogs, in screenshots/ (root).
screenshots: build
	QT_QPA_PLATFORM=offscreen build/default/tests/gui/lumisk_screenshots screenshots

test: build
	ctest --preset default -j2

sanitize-test: deps build/sanitize/build.ninja
	cmake --build --preset sanitize
	ctest --preset sanitize -j2

fuzz: deps build/sanitize/build.ninja
	cmake --build --preset sanitize
	@for target in $(FUZZ_TARGETS) $(FUZZ_READERS); do \
	    limit=-max_total_time=$(FUZZ_SECONDS); \
	    case " $(FUZZ_READERS) " in *" $$target "*) limit=-runs=$(FUZZ_READER_RUNS);; esac; \
	    mkdir -p build/sanitize/corpus/$$target; \
	    seeds=; [ -d tests/fuzz/corpus/$$target ] && seeds=tests/fuzz/corpus/$$target; \
	    start=$$(date +%s); \
	    build/sanitize/tests/fuzz/$$target $$limit -print_final_stats=1 \
	        -artifact_prefix=build/sanitize/$$target- build/sanitize/corpus/$$target $$seeds \
	        > build/sanitize/$$target.log 2>&1 || { tail -n 30 build/sanitize/$$target.log; exit 1; }; \
	    echo "$$target: $$(sed -n 's/^stat::number_of_executed_units: *//p' \
	        build/sanitize/$$target.log) executions in $$(( $$(date +%s) - start )) s"; \
	done

# The Debian package, into build/package/.
package: build
	cmake --build --preset default --target package

bench: build
	build/default/bench/lumisk_bench

# The programs for 64-bit Windows, in build/windows/; their tests run under 64-bit Wine.
windows: deps-windows build/windows/build.ninja
	cmake --build --preset windows

# The programs alone for 32-bit Windows, in build/windows32/; nothing runs them here.
windows32: deps-windows32 build/windows32/build.ninja
	cmake --build --preset windows32 --target lumisk lumisk-cli

windows-test: build windows
	scripts/windows-test.sh

# The release of the 64-bit Windows build in build/windows/package/: the programs stripped, their
# debugging data beside them, and the installer; signed when LUMISK_SIGN_CERT and LUMISK_SIGN_KEY
# are set (scripts/windows-installer.sh).
windows-installer: windows
	scripts/windows-installer.sh

# PNGs of the Windows build's main window, About box and login dialog under Wine at 150 % display
# scaling (144 DPI), beside the Qt ones in screenshots/windows/ (root).
screenshots-windows: build windows
	QT_QPA_PLATFORM=offscreen scripts/windows-test.sh --run env WINEPREFIX=$(CURDIR)/build/windows/wine-144dpi \
	    build/default/tests/gui/lumisk_screenshots \
	    --windows build/windows/tests/windows/lumisk_screenshots.exe screenshots/windows

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
