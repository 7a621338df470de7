# Front door of the build. Every target installs what it needs first (scripts/setup-deps).
JOBS ?= 2
SECONDS ?= 60
CTEST = ctest --output-on-failure -j $(JOBS)

# build-<preset> is a pattern rule, so it must not be listed as phony (make skips rule search for those).
.PHONY: all deps demo test test-linux test-asan test-tsan test-win bench fuzz soak clean

all: build-linux

deps:
	@scripts/setup-deps

build-%: deps
	@cmake --preset $* >/dev/null
	@cmake --build --preset $* -j $(JOBS)

# The main job: the host harness feeding the bundled weather-station stream through the plug-in.
DEMO_HIDE = FULL_DATA_PACKET,DATA_PACKET,DATE_TIME_STAMP,DATA_SOURCE_FULL_NAME
demo: build-linux
	build/linux/tools/host/quendra-host --plugin build/linux/src/exports/libquendra.so \
	  --settings samples/weather.ini --format table --hide $(DEMO_HIDE) samples/weather.xml

test: test-linux test-asan test-tsan test-win

test-linux: build-linux
	cd build/linux && $(CTEST)

test-asan: build-linux-asan
	cd build/linux-asan && ASAN_OPTIONS=detect_leaks=1 $(CTEST)

test-tsan: build-linux-tsan
	cd build/linux-tsan && TSAN_OPTIONS=halt_on_error=1 $(CTEST) -L concurrency

test-win: build-win32 build-win64
	tests/win/check_exports.sh build/win32/src/exports/quendra.dll
	tests/win/run_wine_tests.sh build/win64

bench: build-release
	scripts/bench-table build/release/bench/quendra/quendra_bench 3 --benchmark_min_time=1

# 64 TCP clients for 60 s through quendra-host --listen: every block once, memory flat.
soak: build-linux
	tests/soak/soak.sh build/linux 60 64

fuzz: build-fuzz
	scripts/run-fuzzers build/fuzz $(SECONDS)

clean:
	rm -rf build
