/* The host side of the runtime update: reads the runtime's Intel HEX file into flash
 * pages and sends them through the bootloader, as the IDE's update window does. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "pyxon_sim.h"

#define FREQUENCY 16000000u
#define MS(ms) ((avr_cycle_count_t)(ms) * (FREQUENCY / 1000u))
#define MAX_FLASH (128u * 1024u)

static int hex_digit(char c) {
  static const char digits[] = "0123456789ABCDEF";
  const char* p = c ? strchr(digits, c) : NULL;
  return p ? (int)(p - digits) : -1;
}

static int hex_byte(const char* p) {
  int high = hex_digit(p[0]), low = hex_digit(p[1]);
  return high < 0 || low < 0 ? -1 : high * 16 + low;
}

/* Fills flash (0xFF where no record writes); 0 when the file is valid. */
static int read_hex(const char* path, uint8_t* flash, uint32_t flash_size) {
  FILE* f = fopen(path, "r");
  if (!f) return -1;
  memset(flash, 0xFF, flash_size);
  char line[600];
  uint32_t base = 0;
  int ok = 0;
  while (fgets(line, sizeof line, f)) {
    size_t len = strcspn(line, "\r\n");
    line[len] = 0;
    if (len < 11 || line[0] != ':') break;
    int n = hex_byte(line + 1), ah = hex_byte(line + 3), al = hex_byte(line + 5), type = hex_byte(line + 7);
    if (n < 0 || ah < 0 || al < 0 || type < 0 || len != 11u + 2u * (unsigned)n) break;
    int sum = n + ah + al + type, bad = 0;
    uint8_t data[256];
    for (int i = 0; i < n; ++i) {
      int b = hex_byte(line + 9 + 2 * i);
      if (b < 0) bad = 1;
      data[i] = (uint8_t)b;
      sum += b;
    }
    int check = hex_byte(line + 9 + 2 * n);
    if (bad || check < 0 || ((-sum) & 0xFF) != check) break;
    if (type == 2 && n == 2) base = ((uint32_t)data[0] << 8 | data[1]) * 16u;
    if (type != 0 || n == 0) {
      ok = 1;
      continue;
    }
    uint32_t address = base + ((uint32_t)ah << 8 | (uint32_t)al);
    if (address + (uint32_t)n > flash_size) break;
    memcpy(flash + address, data, (size_t)n);
    ok = 1;
  }
  int complete = feof(f);
  fclose(f);
  return ok && complete ? 0 : -1;
}

static size_t wait_from;

static int prompt_seen(struct sim* s) { return s->out_len > wait_from && s->out[s->out_len - 1] == '>'; }

static int identification_seen(struct sim* s) {
  size_t n = 0;
  for (size_t i = wait_from; i < s->out_len; ++i) n += s->out[i] != '>';
  return n >= 6;
}

static int reply_seen(struct sim* s) { return s->out_len > wait_from; }

int sim_install_runtime(struct sim* s, const char* hex_path, int verbose) {
  int big = s->int0_pin == 0; /* the ATmega128 */
  uint32_t page_size = big ? 256 : 128, pages = big ? 512 : 256;
  const char* expected = big ? "DpcT4!" : "EndS2!";
  uint8_t* flash = malloc(MAX_FLASH);
  if (!flash || read_hex(hex_path, flash, page_size * pages) != 0) {
    fprintf(stderr, "pyxon-sim: %s is not a valid Intel HEX file for this chip\n", hex_path);
    free(flash);
    return -1;
  }
  wait_from = s->out_len;
  sim_send(s, 'B');
  if (sim_run_until(s, prompt_seen, MS(2000)) != 0) {
    fprintf(stderr, "pyxon-sim: no bootloader prompt (pc 0x%x, %zu bytes sent)\n", (unsigned)s->avr->pc, s->out_len);
    if (verbose) fwrite(s->out, 1, s->out_len > 80 ? 80 : s->out_len, stderr);
    free(flash);
    return -1;
  }
  wait_from = s->out_len;
  sim_send(s, '<');
  if (sim_run_until(s, identification_seen, MS(1000)) != 0) {
    fprintf(stderr, "pyxon-sim: the bootloader does not identify itself\n");
    free(flash);
    return -1;
  }
  char id[7] = {0};
  for (size_t i = wait_from, n = 0; i < s->out_len && n < 6; ++i)
    if (s->out[i] != '>') id[n++] = (char)s->out[i];
  if (strcmp(id, expected) != 0) {
    fprintf(stderr, "pyxon-sim: the bootloader says %s, expected %s\n", id, expected);
    free(flash);
    return -1;
  }
  unsigned rejected = 0, used = 0;
  for (uint32_t page = 0; page < pages; ++page) {
    const uint8_t* data = flash + page * page_size;
    uint8_t sum = 0;
    int empty = 1;
    for (uint32_t i = 0; i < page_size; ++i) {
      sum = (uint8_t)(sum + data[i]);
      empty &= data[i] == 0xFF;
    }
    used += !empty;
    /* a test's damaged packet: the sum of the page named goes out wrong once */
    int damaged = (int)page == s->corrupt_page && !s->corrupted;
    s->corrupted |= damaged;
    wait_from = s->out_len;
    sim_send(s, (uint8_t)(page >> 8));
    sim_send(s, (uint8_t)page);
    for (uint32_t i = 0; i < page_size; ++i) sim_send(s, data[i]);
    sim_send(s, (uint8_t)(sum + damaged));
    if (sim_run_until(s, reply_seen, MS(2000)) != 0) {
      fprintf(stderr, "pyxon-sim: no answer to page %u\n", page);
      free(flash);
      return -1;
    }
    /* The IDE resends a rejected page for ever; here the only page that may be rejected is
     * the damaged one, which goes out again with its right sum. */
    int accepted = s->out[wait_from] == '!';
    if (accepted == damaged) {
      fprintf(stderr, "pyxon-sim: the bootloader %s page %u with %s sum\n", accepted ? "accepts" : "rejects", page,
              damaged ? "a wrong" : "the right");
      free(flash);
      return -1;
    }
    if (!accepted) {
      ++rejected;
      --page;
    }
  }
  sim_send(s, 0xFF);
  sim_send(s, 0xFF);
  for (int i = 0; i < 256; ++i) sim_send(s, 0xFF);
  sim_send(s, 0x00);
  if (verbose) fprintf(stderr, "pyxon-sim: bootloader %s took %u pages (%u with data), %u rejected\n", id, pages, used, rejected);
  free(flash);
  return 0;
}
