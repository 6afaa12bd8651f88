# The main parameters and level sensor pages.
target_sources(gasecu_gui PRIVATE
  level_layout.cpp
  level_page.cpp level_page.h
  level_sensor_files.cpp
  main_parameters_chain.cpp main_parameters_chain.h
  main_parameters_layout.cpp
  main_parameters_page.cpp main_parameters_page.h
  main_parameters_widgets.cpp main_parameters_widgets.h
)
