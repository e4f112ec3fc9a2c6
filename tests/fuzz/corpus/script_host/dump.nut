function cpu_dump(d, size, unused) {
  cpu_write(d, 0x2000, 1);
  cpu_read(d, 0x4000, 16);
}
