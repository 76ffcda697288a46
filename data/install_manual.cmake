# Run when installing (see CMakeLists.txt): fills the manual page in with the
# prefix of this install and installs it compressed.
cmake_path(ABSOLUTE_PATH quenmark_bindir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
  OUTPUT_VARIABLE QUENMARK_BIN_DIR)
cmake_path(ABSOLUTE_PATH quenmark_datadir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
  OUTPUT_VARIABLE QUENMARK_DATA_DIR)
cmake_path(ABSOLUTE_PATH quenmark_mandir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
  OUTPUT_VARIABLE quenmark_man_dir)
configure_file("${quenmark_manual_source}" "${quenmark_manual_made}" @ONLY)
file(REMOVE "${quenmark_manual_made}.gz")
execute_process(COMMAND gzip -9n "${quenmark_manual_made}" COMMAND_ERROR_IS_FATAL ANY)
file(INSTALL "${quenmark_manual_made}.gz" DESTINATION "${quenmark_man_dir}/man1")
