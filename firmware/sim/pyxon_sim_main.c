#define _GNU_SOURCE
/* Command line of pyxon-sim; see pyxon_sim.c for what it does. */
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "pyxon_sim.h"

#define FREQUENCY 16000000u

enum { STATE_IDLE, STATE_RUNNING, STATE_WAITING, STATE_ENDED, STATE_ERROR };

static void usage(void) {
  fprintf(stderr,
          "usage: pyxon-sim --mcu atmega32|atmega128 --runtime RUNTIME.elf [--boot BOOT.elf --install RUNTIME.hex]\n"
          "                 --image FILE [--input TEXT] [--interrupt-after N]... [--max-seconds S] [--stats] [--verbose]\n"
          "       pyxon-sim --mcu atmega32|atmega128 --runtime RUNTIME.elf [--boot BOOT.elf [--bare]] --pty [--link PATH]\n"
          "  --pty serves the board on a pseudo-terminal in real time (its path, or PATH, on stdout);\n"
          "  with --boot the chip has the bootloader too and starts in it; --bare leaves the runtime out\n"
          "  --serial-eeprom BYTES puts a serial EEPROM (up to 65536 bytes) on the chip's two-wire bus\n"
          "  --memory E|I: the memory byte of the upload (E, the default: the serial EEPROM if there is one)\n"
          "  --reset-after-upload: the chip is reset right after the upload and runs the stored program\n"
          "  --corrupt-page N (with --install): page N goes out once with a wrong sum, which must be rejected\n"
          "  --image takes a program image: raw bytes, or the text of zarvek-cli compile --dump\n"
          "  --input escapes: \\r \\n \\t \\\\ \\xHH\n");
  exit(2);
}

static uint8_t* read_file(const char* path, size_t* length) {
  FILE* f = fopen(path, "rb");
  if (!f) return NULL;
  size_t cap = 4096, len = 0;
  uint8_t* data = malloc(cap);
  for (size_t n; data && (n = fread(data + len, 1, cap - len, f)) > 0;) {
    len += n;
    if (len == cap) data = realloc(data, cap *= 2);
  }
  fclose(f);
  *length = len;
  return data;
}

/* The image line of a dump ("image: 14 00 01 ..."), or the file's bytes as they are. */
static uint8_t* read_image(const char* path, size_t* length) {
  size_t len = 0;
  uint8_t* data = read_file(path, &len);
  if (!data) return NULL;
  const char* text = memmem(data, len, "image:", 6);
  if (!text) {
    *length = len;
    return data;
  }
  uint8_t* image = malloc(len);
  size_t n = 0;
  const char* p = text + 6;
  const char* end = (const char*)data + len;
  while (p < end && *p != '\n') {
    while (p < end && *p == ' ') ++p;
    if (p + 1 < end && isxdigit((unsigned char)p[0]) && isxdigit((unsigned char)p[1])) {
      char pair[3] = {p[0], p[1], 0};
      image[n++] = (uint8_t)strtoul(pair, NULL, 16);
      p += 2;
    } else if (p < end && *p != '\n' && *p != '\r') {
      free(data);
      free(image);
      return NULL;
    } else {
      break;
    }
  }
  free(data);
  *length = n;
  return image;
}

static size_t unescape(const char* text, uint8_t* out) {
  size_t n = 0;
  for (const char* p = text; *p; ++p) {
    if (*p != '\\' || !p[1]) {
      out[n++] = (uint8_t)*p;
      continue;
    }
    ++p;
    switch (*p) {
      case 'r': out[n++] = '\r'; break;
      case 'n': out[n++] = '\n'; break;
      case 't': out[n++] = '\t'; break;
      case 'x': {
        char pair[3] = {p[1], p[1] ? p[2] : 0, 0};
        out[n++] = (uint8_t)strtoul(pair, NULL, 16);
        p += strlen(pair);
        break;
      }
      default: out[n++] = (uint8_t)*p; break;
    }
  }
  return n;
}

/* cp1252 text of the board's error report as UTF-8 (the few letters it uses). */
static void put_utf8(FILE* f, const uint8_t* text, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    uint8_t c = text[i];
    if (c < 0x80) fputc(c, f);
    else {
      fputc(0xC0 | c >> 6, f);
      fputc(0x80 | (c & 0x3F), f);
    }
  }
}

/* --- The run of a program: input, interrupts, the end ---------------------------------- */

struct run {
  const uint8_t* input;
  size_t input_len, input_pos;
  int in_flight;
  uint8_t generation;
  unsigned long interrupts[16];
  int interrupt_count, next_interrupt;
  avr_cycle_count_t release_at;
};

static struct run run;

static int run_step(struct sim* s) {
  uint8_t state = sim_state(s);
  if (state == STATE_ENDED || state == STATE_ERROR) return 1;
  uint8_t generation = s->avr->data[s->rx_generation_addr];
  if (run.in_flight && generation != run.generation) run.in_flight = 0;
  /* the next character goes out when the last one reached the buffer and there is room */
  if (!run.in_flight && run.input_pos < run.input_len && s->avr->data[s->rx_count_addr] < 32) {
    run.generation = generation;
    run.in_flight = 1;
    sim_send(s, run.input[run.input_pos++]);
  }
  if (run.release_at && s->avr->cycle >= run.release_at) {
    avr_raise_irq(s->int0, 1);
    run.release_at = 0;
  }
  if (!run.release_at && run.next_interrupt < run.interrupt_count &&
      sim_tokens(s) >= run.interrupts[run.next_interrupt]) {
    avr_raise_irq(s->int0, 0); /* a short press: falling edge, released 100 us later */
    run.release_at = s->avr->cycle + FREQUENCY / 10000;
    ++run.next_interrupt;
  }
  return state == STATE_WAITING && !run.in_flight && run.input_pos == run.input_len;
}

int main(int argc, char** argv) {
  const char *mcu = NULL, *runtime = NULL, *boot = NULL, *install = NULL, *image_path = NULL;
  static uint8_t input[65536];
  double max_seconds = 60;
  int stats = 0, verbose = 0, pty = 0, bare = 0, reset_after_upload = 0;
  const char* link_path = NULL;
  int corrupt_page = -1;
  uint32_t serial_eeprom = 0;
  char memory = 'E';
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    const char* v = i + 1 < argc ? argv[i + 1] : NULL;
    if (!strcmp(a, "--stats")) stats = 1;
    else if (!strcmp(a, "--verbose")) verbose = 1;
    else if (!strcmp(a, "--pty")) pty = 1;
    else if (!strcmp(a, "--reset-after-upload")) reset_after_upload = 1;
    else if (!strcmp(a, "--bare")) bare = 1;
    else if (!v) usage();
    else if (!strcmp(a, "--mcu")) mcu = v, ++i;
    else if (!strcmp(a, "--runtime")) runtime = v, ++i;
    else if (!strcmp(a, "--link")) link_path = v, ++i;
    else if (!strcmp(a, "--corrupt-page")) corrupt_page = atoi(v), ++i;
    else if (!strcmp(a, "--serial-eeprom")) serial_eeprom = (uint32_t)strtoul(v, NULL, 10), ++i;
    else if (!strcmp(a, "--memory")) {
      if (strcmp(v, "E") != 0 && strcmp(v, "I") != 0) usage();
      memory = v[0], ++i;
    }
    else if (!strcmp(a, "--boot")) boot = v, ++i;
    else if (!strcmp(a, "--install")) install = v, ++i;
    else if (!strcmp(a, "--image")) image_path = v, ++i;
    else if (!strcmp(a, "--max-seconds")) max_seconds = atof(v), ++i;
    else if (!strcmp(a, "--input")) {
      if (strlen(v) >= sizeof input) usage();
      run.input_len = unescape(v, input), ++i;
    } else if (!strcmp(a, "--interrupt-after")) {
      if (run.interrupt_count == 16) usage();
      run.interrupts[run.interrupt_count++] = strtoul(v, NULL, 10), ++i;
    } else usage();
  }
  if (pty) {
    if (!mcu || !runtime || image_path || install || (bare && !boot)) usage();
    struct sim s;
    if (sim_create(&s, mcu, runtime) != 0) return 2;
    if (serial_eeprom && sim_attach_serial_eeprom(&s, serial_eeprom) != 0) return 2;
    if (!bare && sim_load_elf(&s, runtime) != 0) return 2;
    if (boot && sim_load_elf(&s, boot) != 0) return 2; /* loaded last: the chip starts there */
    return sim_serve_pty(&s, link_path) == 0 ? 0 : 2;
  }
  if (!mcu || !runtime || !image_path || (boot && !install) || (install && !boot) || bare || link_path) usage();
  run.input = input;
  if (max_seconds <= 0) max_seconds = 60;

  size_t image_len = 0;
  uint8_t* image = read_image(image_path, &image_len);
  if (!image || image_len == 0) {
    fprintf(stderr, "pyxon-sim: %s holds no program image\n", image_path);
    return 2;
  }
  struct sim s;
  if (sim_create(&s, mcu, runtime) != 0) return 2;
  s.corrupt_page = corrupt_page;
  if (serial_eeprom && sim_attach_serial_eeprom(&s, serial_eeprom) != 0) return 2;
  clock_t started = clock();
  if (boot) {
    if (sim_load_elf(&s, boot) != 0) return 2;
    if (sim_install_runtime(&s, install, verbose) != 0) return 3;
  } else if (sim_load_elf(&s, runtime) != 0) {
    return 2;
  }
  sim_idle(&s, 16000); /* the runtime sets up its peripherals */
  if (sim_upload(&s, image, image_len, (uint8_t)memory, verbose) != 0) return 3;
  if (reset_after_upload) {
    /* power off as soon as the last echo is in: the stored program must start by itself */
    avr_reset(s.avr);
    s.program_output_from = s.out_len;
  }
  avr_cycle_count_t program_start = s.avr->cycle;
  uint32_t tokens_start = sim_tokens(&s);
  int r = sim_run_until(&s, run_step, (avr_cycle_count_t)(max_seconds * FREQUENCY));
  double wall = (double)(clock() - started) / CLOCKS_PER_SEC;

  const uint8_t* out = s.out + s.program_output_from;
  size_t out_len = s.out_len - s.program_output_from;
  int status = r < 0 ? 3 : r > 0 ? 4 : 0;
  if (sim_state(&s) == STATE_ERROR) {
    static const char marker[] = "\r\nLaufzeitfehler bei Adresse ";
    const uint8_t* at = NULL;
    for (const uint8_t* p = out; p + sizeof marker - 1 <= out + out_len; ++p)
      if (!memcmp(p, marker, sizeof marker - 1)) at = p;
    if (at) {
      fwrite(out, 1, (size_t)(at - out), stdout);
      const uint8_t* text = at + 2;
      const uint8_t* end = out + out_len;
      while (end > text && (end[-1] == '\r' || end[-1] == '\n')) --end;
      put_utf8(stderr, text, (size_t)(end - text));
      fputc('\n', stderr);
      status = 1;
    } else {
      fwrite(out, 1, out_len, stdout);
      fprintf(stderr, "pyxon-sim: the board stopped on an error without its report\n");
      status = 3;
    }
  } else {
    fwrite(out, 1, out_len, stdout);
  }
  if (status == 4) fprintf(stderr, "pyxon-sim: the program did not end within %g emulated seconds\n", max_seconds);
  if (stats) {
    double seconds = (double)(s.avr->cycle - program_start) / FREQUENCY;
    uint32_t tokens = sim_tokens(&s) - tokens_start;
    fprintf(stderr, "pyxon-sim: %u tokens in %.3f emulated s (%.0f tokens/s at 16 MHz), %.3f s wall\n", tokens,
            seconds, seconds > 0 ? tokens / seconds : 0.0, wall);
  }
  fflush(stdout);
  return status;
}
