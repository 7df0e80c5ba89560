/* A serial EEPROM on the emulated chip's two-wire bus (24C256/24C512 style: bus address
 * 0xA0, two address bytes, sequential reads and writes, no write delay), speaking
 * simavr's TWI messages. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <avr_twi.h>

#include "pyxon_sim.h"

#define DEVICE 0xA0

struct serial_eeprom {
  avr_irq_t* reply; /* the chip's TWI input */
  uint8_t* data;
  uint32_t size;
  int selected;     /* addressed since the last START */
  int index;        /* bytes written since the address */
  uint32_t address; /* the next byte to read or write */
};

static void on_twi(struct avr_irq_t* irq, uint32_t value, void* param) {
  (void)irq;
  struct serial_eeprom* e = param;
  avr_twi_msg_irq_t v;
  v.u.v = value;
  if (v.u.twi.msg & TWI_COND_STOP) e->selected = 0;
  if (v.u.twi.msg & TWI_COND_START) {
    e->selected = (v.u.twi.addr & 0xFE) == DEVICE;
    e->index = 0;
    if (e->selected) avr_raise_irq(e->reply, avr_twi_irq_msg(TWI_COND_ACK, v.u.twi.addr, 1));
  }
  if (!e->selected) return;
  if (v.u.twi.msg & TWI_COND_WRITE) {
    avr_raise_irq(e->reply, avr_twi_irq_msg(TWI_COND_ACK, v.u.twi.addr, 1));
    if (e->index < 2) e->address = ((e->address << 8) | v.u.twi.data) & 0xFFFF;
    else e->data[e->address++ % e->size] = v.u.twi.data;
    ++e->index;
  }
  if (v.u.twi.msg & TWI_COND_READ) {
    uint8_t byte = e->data[e->address++ % e->size];
    avr_raise_irq(e->reply, avr_twi_irq_msg(TWI_COND_READ, v.u.twi.addr, byte));
  }
}

int sim_attach_serial_eeprom(struct sim* s, uint32_t size) {
  struct serial_eeprom* e = calloc(1, sizeof *e);
  if (!e || size == 0 || size > 65536 || !(e->data = malloc(size))) {
    fprintf(stderr, "pyxon-sim: no serial EEPROM of %u bytes\n", size);
    return -1;
  }
  memset(e->data, 0xFF, size);
  e->size = size;
  e->reply = avr_io_getirq(s->avr, AVR_IOCTL_TWI_GETIRQ(0), TWI_IRQ_INPUT);
  avr_irq_t* out = avr_io_getirq(s->avr, AVR_IOCTL_TWI_GETIRQ(0), TWI_IRQ_OUTPUT);
  if (!e->reply || !out) {
    fprintf(stderr, "pyxon-sim: the chip has no two-wire interface\n");
    return -1;
  }
  avr_irq_register_notify(out, on_twi, e);
  return 0;
}
