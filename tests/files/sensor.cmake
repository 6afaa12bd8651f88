# Sensor files and the level sensor page's load and save.
gasecu_add_test(tst_sensor_file SOURCES tst_sensor_file.cpp ../pages/tst_pages_fixture.h
  LIBS gasecu_gui LABELS unit)
