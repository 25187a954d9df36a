# Nutrimo — the two commands of the README (make run, make test) and the others.
BUILD     ?= build
BUILD_ASAN ?= build-asan
JOBS      ?= 2
DATA_DIR  ?= $(if $(NUTRIMO_DATA),$(NUTRIMO_DATA),$(HOME)/Nutrimo)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
PREFIX    ?= /usr/local
STAGE     ?= $(BUILD)/stage

.PHONY: all deps configure build run test bench screenshots fuzz asan clean install deb stage format-check

all: build

deps:
	@bash scripts/deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The program installed under $(STAGE), then started by its launcher, as an
# installed Nutrimo starts: the launcher prepares the Data directory (copies
# the supplied tables that are absent, never overwrites the user's) and
# starts the program there.
stage: build
	DESTDIR= cmake --install $(BUILD) --prefix "$(abspath $(STAGE))" >/dev/null

run: stage
	NUTRIMO_DATA="$(DATA_DIR)" exec "$(abspath $(STAGE))/bin/nutrimo"

# make install PREFIX=/usr DESTDIR=/tmp/paquet stages an installation.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package, in $(BUILD).
deb: build
	cd $(BUILD) && cpack -G DEB

test: build format-check
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && { echo "== $$b"; QT_QPA_PLATFORM=offscreen "$$b" --benchmark_min_time=0.2 || true; }; done

screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/nutrimo-screenshots $(BUILD)/screenshots

# Both harnesses, FUZZ_TIME seconds each: the codec on bytes in memory, and
# the Table over a real file with faults planted in every write.
FUZZ_TIME ?= 60
fuzz: deps
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DNUTRIMO_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target fuzz_dbf fuzz_table
	mkdir -p build-fuzz/corpus build-fuzz/corpus_table && for t in $(BUILD)/tables/*; do [ "$${t##*/}" = CIQUAL.DBF ] || cp -n "$$t" build-fuzz/corpus/ 2>/dev/null; done; true
	build-fuzz/fuzz/fuzz_dbf -max_total_time=$(FUZZ_TIME) -print_final_stats=1 build-fuzz/corpus fuzz/corpus
	build-fuzz/fuzz/fuzz_table -max_total_time=$(FUZZ_TIME) -max_len=4096 -print_final_stats=1 build-fuzz/corpus_table fuzz/corpus_table

asan: deps
	cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DNUTRIMO_SANITIZE=ON
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j $(JOBS)

# Every source file laid out as .clang-format says; names those that are
# not (clang-format --dry-run FILE shows where) and fails. Nothing is changed.
CLANG_FORMAT ?= clang-format
FORMAT_DIRS  ?= src tests bench fuzz tools
format-check: deps
	@bad=$$(find $(FORMAT_DIRS) \( -name '*.cpp' -o -name '*.h' \) | sort | while read -r f; do \
	  $(CLANG_FORMAT) --dry-run --Werror --style=file "$$f" >/dev/null 2>&1 || echo "$$f"; done); \
	if [ -n "$$bad" ]; then echo "Fichiers hors du format de .clang-format :"; echo "$$bad"; exit 1; fi; \
	echo "Tous les fichiers suivent .clang-format."

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) build-fuzz
