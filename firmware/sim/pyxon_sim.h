/* The emulated Pyxon board: one simavr chip with our firmware and its serial line. */
#ifndef PYXON_SIM_H
#define PYXON_SIM_H

#include <stddef.h>
#include <stdint.h>

#include <sim_avr.h>
#include <sim_irq.h>

struct sim {
  avr_t* avr;
  avr_irq_t* uart_in;
  avr_irq_t* int0;
  int int0_pin;
  uint16_t state_addr, tokens_addr, rx_count_addr, rx_generation_addr;
  uint8_t* out; /* everything the chip sent */
  size_t out_len, out_cap;
  size_t program_output_from;
  uint8_t tx[1024]; /* bytes for the chip not yet in its UART */
  size_t tx_head, tx_len;
  int xoff;
  int forward_fd; /* where the chip's output goes as well, -1 none */
  int corrupt_page; /* the update sends this page's sum wrong once (-1 none) */
  int corrupted;
};

int sim_create(struct sim* s, const char* mcu, const char* runtime_elf);
int sim_load_elf(struct sim* s, const char* path);
int sim_run_until(struct sim* s, int (*done)(struct sim*), avr_cycle_count_t budget);
void sim_idle(struct sim* s, avr_cycle_count_t cycles);
void sim_send(struct sim* s, uint8_t byte);
uint8_t sim_state(struct sim* s);
uint32_t sim_tokens(struct sim* s);
/* memory: the upload's memory byte, 'E' or 'I' */
int sim_upload(struct sim* s, const uint8_t* image, size_t length, uint8_t memory, int verbose);
int sim_install_runtime(struct sim* s, const char* hex_path, int verbose);
/* Puts a serial EEPROM of the given size (bytes, at most 64 KB) on the chip's bus. */
int sim_attach_serial_eeprom(struct sim* s, uint32_t size);
/* Serves the chip on a pseudo-terminal until SIGINT or SIGTERM. */
int sim_serve_pty(struct sim* s, const char* link_path);

#endif
