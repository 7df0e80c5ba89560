/* The serial EEPROM on the two-wire bus that holds "E" programs (a 24C256 or 24C512 at
 * bus address 0xA0, two address bytes). Token fetches read it in one sequential read that
 * stays open while the program counter moves on byte by byte; any other address ends it
 * (the last byte taken with NACK, as the bus wants) and starts a new one. */
#include <util/twi.h>

#include "machine.h"

#define DEVICE 0xA0
/* A write keeps the chip busy for up to 5 ms; it answers its address again when done. */
#define SELECT_TRIES 2000u

static uint8_t initialised;
static uint8_t reading;       /* a sequential read is open */
static uint16_t next_address; /* ... and delivers this address next */

static uint8_t twi_wait(void) {
  while (!(TWCR & _BV(TWINT))) {}
  return TW_STATUS;
}

static void twi_stop(void) {
  TWCR = _BV(TWINT) | _BV(TWSTO) | _BV(TWEN);
  while (TWCR & _BV(TWSTO)) {}
}

static uint8_t twi_send(uint8_t byte) {
  TWDR = byte;
  TWCR = _BV(TWINT) | _BV(TWEN);
  return twi_wait();
}

static uint8_t twi_receive(uint8_t ack) {
  TWCR = _BV(TWINT) | _BV(TWEN) | (ack ? _BV(TWEA) : 0);
  twi_wait();
  return TWDR;
}

/* The chip acknowledged the device address for writing. An acknowledge reported with the
 * data status counts too: simavr 1.6 reports the address byte's that way. */
static uint8_t address_acked(uint8_t status) { return status == TW_MT_SLA_ACK || status == TW_MT_DATA_ACK; }

static void init(void) {
  TWSR = 0;
  TWBR = 12; /* 400 kHz at 16 MHz */
  TWCR = _BV(TWEN);
  initialised = 1;
}

static void end_read(void) {
  if (!reading) return;
  twi_receive(0); /* the last byte of a read goes with NACK */
  twi_stop();
  reading = 0;
}

/* START, the device for writing and the address; 1 when the chip answered. */
static uint8_t select(uint16_t address) {
  if (!initialised) init();
  end_read();
  for (uint16_t tries = 0; tries < SELECT_TRIES; ++tries) {
    TWCR = _BV(TWINT) | _BV(TWSTA) | _BV(TWEN);
    uint8_t status = twi_wait();
    if (status != TW_START && status != TW_REP_START) continue;
    if (address_acked(twi_send(DEVICE | TW_WRITE))) {
      if (twi_send((uint8_t)(address >> 8)) == TW_MT_DATA_ACK && twi_send((uint8_t)address) == TW_MT_DATA_ACK)
        return 1;
    }
    twi_stop();
  }
  return 0;
}

uint8_t serial_present(void) {
  if (!initialised) init();
  end_read();
  TWCR = _BV(TWINT) | _BV(TWSTA) | _BV(TWEN);
  uint8_t status = twi_wait();
  uint8_t present = (status == TW_START || status == TW_REP_START) && address_acked(twi_send(DEVICE | TW_WRITE));
  twi_stop();
  return present;
}

/* A chip that does not answer reads as 0xFF, like erased memory. */
uint8_t serial_read(uint16_t address) {
  if (!reading || address != next_address) {
    if (!select(address)) return 0xFF;
    TWCR = _BV(TWINT) | _BV(TWSTA) | _BV(TWEN);
    twi_wait();
    uint8_t status = twi_send(DEVICE | TW_READ);
    /* simavr 1.6 leaves the repeated START's status standing a moment longer */
    while (status == TW_REP_START) status = TW_STATUS;
    if (status != TW_MR_SLA_ACK) {
      twi_stop();
      return 0xFF;
    }
    reading = 1;
  }
  next_address = (uint16_t)(address + 1);
  return twi_receive(1);
}

void serial_write(uint16_t address, uint8_t value) {
  if (!select(address)) return;
  twi_send(value);
  twi_stop();
}
