/* pyxon-sim: runs the Pyxon firmware on an emulated ATmega (simavr) and talks to it over
 * its serial line as a host would: it installs the runtime through the bootloader (or
 * loads the runtime's ELF file directly), uploads a program image with the upload
 * protocol, feeds the program's input, raises the interrupt input, and writes what the
 * program sends to stdout. A runtime error the board reports goes to stderr.
 *
 * Exit status: 0 the program ended or waits for input that will not come, 1 the board
 * reported a runtime error, 2 bad usage or files, 3 a protocol failed, 4 the emulated
 * time ran out. */
#include <fcntl.h>
#include <gelf.h>
#include <libelf.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <sim_avr.h>
#include <sim_elf.h>
#include <sim_hex.h>
#include <avr_ioport.h>
#include <avr_uart.h>

#include "pyxon_sim.h"

#define FREQUENCY 16000000u
#define MS(ms) ((avr_cycle_count_t)(ms) * (FREQUENCY / 1000u))

/* --- Output capture and input ------------------------------------------------------- */

static void on_uart_output(struct avr_irq_t* irq, uint32_t value, void* param) {
  (void)irq;
  struct sim* s = param;
  if (s->forward_fd >= 0) {
    uint8_t byte = (uint8_t)value;
    if (write(s->forward_fd, &byte, 1) != 1) {
      /* nobody reads the terminal: the byte is lost, as on a line without a listener */
    }
    return;
  }
  if (s->out_len == s->out_cap) {
    s->out_cap = s->out_cap ? 2 * s->out_cap : 4096;
    s->out = realloc(s->out, s->out_cap);
    if (!s->out) {
      fprintf(stderr, "pyxon-sim: out of memory\n");
      exit(2);
    }
  }
  s->out[s->out_len++] = (uint8_t)value;
}

void sim_send(struct sim* s, uint8_t byte) {
  if (s->tx_len == sizeof s->tx) {
    fprintf(stderr, "pyxon-sim: the send queue is full\n");
    exit(2);
  }
  s->tx[(s->tx_head + s->tx_len++) % sizeof s->tx] = byte;
}

static void on_xoff(struct avr_irq_t* irq, uint32_t value, void* param) {
  (void)irq;
  (void)value;
  ((struct sim*)param)->xoff = 1;
}

static void on_xon(struct avr_irq_t* irq, uint32_t value, void* param) {
  (void)irq;
  (void)value;
  ((struct sim*)param)->xoff = 0;
}

static void pump(struct sim* s) {
  while (s->tx_len && !s->xoff) {
    uint8_t byte = s->tx[s->tx_head];
    s->tx_head = (s->tx_head + 1) % sizeof s->tx;
    --s->tx_len;
    avr_raise_irq(s->uart_in, byte);
  }
}

/* The emulator sleeps for real when the chip sleeps; time here is emulated only. */
static void no_sleep(avr_t* avr, avr_cycle_count_t how_long) {
  (void)avr;
  (void)how_long;
}

static void quiet_logger(avr_t* avr, const int level, const char* format, va_list args) {
  (void)avr;
  if (level <= LOG_ERROR) vfprintf(stderr, format, args);
}

/* --- Symbols of the runtime, read from its ELF file ----------------------------------- */

static int find_symbols(struct sim* s, const char* elf_path) {
  struct {
    const char* name;
    uint16_t* address;
  } wanted[] = {{"pyxon_state", &s->state_addr},
                {"pyxon_tokens", &s->tokens_addr},
                {"rx_count", &s->rx_count_addr},
                {"rx_generation", &s->rx_generation_addr}};
  int fd = open(elf_path, O_RDONLY);
  if (fd < 0) return -1;
  elf_version(EV_CURRENT);
  Elf* e = elf_begin(fd, ELF_C_READ, NULL);
  int found = 0;
  for (Elf_Scn* scn = NULL; e && (scn = elf_nextscn(e, scn));) {
    GElf_Shdr shdr;
    if (!gelf_getshdr(scn, &shdr) || shdr.sh_type != SHT_SYMTAB) continue;
    Elf_Data* data = elf_getdata(scn, NULL);
    size_t count = shdr.sh_entsize ? shdr.sh_size / shdr.sh_entsize : 0;
    for (size_t i = 0; data && i < count; ++i) {
      GElf_Sym sym;
      if (!gelf_getsym(data, (int)i, &sym)) continue;
      const char* name = elf_strptr(e, shdr.sh_link, sym.st_name);
      for (size_t k = 0; name && k < sizeof wanted / sizeof wanted[0]; ++k)
        if (strcmp(name, wanted[k].name) == 0) {
          *wanted[k].address = (uint16_t)(sym.st_value & 0xFFFF);
          ++found;
        }
    }
  }
  if (e) elf_end(e);
  close(fd);
  return found == 4 ? 0 : -1;
}

uint8_t sim_state(struct sim* s) { return s->avr->data[s->state_addr]; }

uint32_t sim_tokens(struct sim* s) {
  const uint8_t* p = s->avr->data + s->tokens_addr;
  return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

/* --- Setup ------------------------------------------------------------------------------- */

int sim_create(struct sim* s, const char* mcu, const char* runtime_elf) {
  memset(s, 0, sizeof *s);
  s->forward_fd = -1;
  s->corrupt_page = -1;
  s->avr = avr_make_mcu_by_name(mcu);
  if (!s->avr) {
    fprintf(stderr, "pyxon-sim: unknown chip %s\n", mcu);
    return -1;
  }
  avr_global_logger_set(quiet_logger);
  avr_init(s->avr);
  s->avr->log = LOG_NONE;
  s->avr->frequency = FREQUENCY;
  s->avr->sleep = no_sleep;
  s->int0_pin = strcmp(mcu, "atmega128") == 0 ? 0 : 2;
  if (find_symbols(s, runtime_elf) != 0) {
    fprintf(stderr, "pyxon-sim: %s lacks the runtime's symbols\n", runtime_elf);
    return -1;
  }
  uint32_t flags = 0;
  avr_ioctl(s->avr, AVR_IOCTL_UART_GET_FLAGS('0'), &flags);
  flags &= ~(uint32_t)(AVR_UART_FLAG_STDIO | AVR_UART_FLAG_POLL_SLEEP);
  avr_ioctl(s->avr, AVR_IOCTL_UART_SET_FLAGS('0'), &flags);
  s->uart_in = avr_io_getirq(s->avr, AVR_IOCTL_UART_GETIRQ('0'), UART_IRQ_INPUT);
  avr_irq_register_notify(avr_io_getirq(s->avr, AVR_IOCTL_UART_GETIRQ('0'), UART_IRQ_OUTPUT), on_uart_output, s);
  avr_irq_register_notify(avr_io_getirq(s->avr, AVR_IOCTL_UART_GETIRQ('0'), UART_IRQ_OUT_XOFF), on_xoff, s);
  avr_irq_register_notify(avr_io_getirq(s->avr, AVR_IOCTL_UART_GETIRQ('0'), UART_IRQ_OUT_XON), on_xon, s);
  s->int0 = avr_io_getirq(s->avr, AVR_IOCTL_IOPORT_GETIRQ('D'), s->int0_pin);
  avr_raise_irq(s->int0, 1);
  return 0;
}

/* Loads an ELF file's flash (and its start address) into the chip. The frequency is ours,
 * whatever the file says. */
int sim_load_elf(struct sim* s, const char* path) {
  elf_firmware_t fw;
  memset(&fw, 0, sizeof fw);
  if (elf_read_firmware(path, &fw) != 0) {
    fprintf(stderr, "pyxon-sim: cannot read %s\n", path);
    return -1;
  }
  fw.frequency = FREQUENCY;
  avr_load_firmware(s->avr, &fw);
  s->avr->frequency = FREQUENCY;
  s->avr->sleep = no_sleep;
  return 0;
}

/* Runs until done(s) holds or the cycle budget is used; 0 when done. */
int sim_run_until(struct sim* s, int (*done)(struct sim*), avr_cycle_count_t budget) {
  avr_cycle_count_t end = s->avr->cycle + budget;
  while (s->avr->cycle < end) {
    for (int k = 0; k < 64; ++k) {
      int state = avr_run(s->avr);
      if (state == cpu_Done || state == cpu_Crashed) {
        fprintf(stderr, "pyxon-sim: the emulated chip stopped (state %d)\n", state);
        return -1;
      }
    }
    pump(s);
    if (done(s)) return 0;
  }
  return 1;
}

static int never(struct sim* s) {
  (void)s;
  return 0;
}

void sim_idle(struct sim* s, avr_cycle_count_t cycles) { sim_run_until(s, never, cycles); }

/* --- The host side of the upload ------------------------------------------------------------- */

static size_t wait_from;

static int output_grew(struct sim* s) { return s->out_len > wait_from; }

static int line_ended(struct sim* s) {
  return s->out_len > wait_from && (s->out[s->out_len - 1] == '\r' || s->out[s->out_len - 1] == 0x8A);
}

int sim_upload(struct sim* s, const uint8_t* image, size_t length, uint8_t memory, int verbose) {
  int identified = 0;
  for (int attempt = 0; attempt < 5 && !identified; ++attempt) {
    wait_from = s->out_len;
    sim_send(s, 0x01);
    if (sim_run_until(s, line_ended, MS(1000)) != 0) continue;
    identified = s->out_len - wait_from >= 6 && memcmp(s->out + wait_from, "Zarvek", 6) == 0;
  }
  if (!identified) {
    fprintf(stderr, "pyxon-sim: the board does not identify itself\n");
    if (verbose) {
      fprintf(stderr, "pyxon-sim: pc 0x%x, queue %zu, the last it sent: ", (unsigned)s->avr->pc, s->tx_len);
      fwrite(s->out + (s->out_len > 64 ? s->out_len - 64 : 0), 1, s->out_len > 64 ? 64 : s->out_len, stderr);
      fputc('\n', stderr);
    }
    return -1;
  }
  if (verbose) fprintf(stderr, "pyxon-sim: %.*s\n", (int)(s->out_len - wait_from - 1), (const char*)s->out + wait_from);
  sim_send(s, memory);
  sim_send(s, 0x02);
  for (size_t i = 0; i < length + 2; ++i) {
    uint8_t byte = i == 0 ? (uint8_t)(length >> 8) : i == 1 ? (uint8_t)length : image[i - 2];
    wait_from = s->out_len;
    sim_send(s, byte);
    if (sim_run_until(s, output_grew, MS(1000)) != 0) {
      fprintf(stderr, "pyxon-sim: no echo for byte %zu of the upload\n", i);
      return -1;
    }
    if (s->out[wait_from] != byte) {
      fprintf(stderr, "pyxon-sim: wrong echo for byte %zu of the upload (%s)\n", i,
              i < 2 ? "the board refuses the program's length" : "transfer error");
      return -1;
    }
  }
  s->program_output_from = s->out_len;
  return 0;
}
