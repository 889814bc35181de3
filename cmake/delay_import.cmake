# System libraries that the program first calls after its tray icon shows
# (the network, the sound card, the file dialogs, OLE) load at that
# first call instead of with the program: a tray program starts at every
# logon, and each library loaded before the icon delays it.
#   sonoraflux_delay_import(<library>)  ->  link target delay_<library>
# The delay-load import library is made at configure time from the
# toolchain's own import library, with every name that one exports.
function(sonoraflux_delay_import library)
  find_library(import_${library} NAMES ${library} REQUIRED)
  set(folder ${CMAKE_BINARY_DIR}/delay_import)
  set(def ${folder}/${library}.def)
  set(out ${folder}/libdelay_${library}.a)
  file(MAKE_DIRECTORY ${folder})
  execute_process(COMMAND ${CMAKE_NM} -g ${import_${library}}
    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "I __imp_[A-Za-z0-9_@]+" imports "${symbols}")
  list(TRANSFORM imports REPLACE "^I __imp_" "")
  list(REMOVE_DUPLICATES imports)
  list(SORT imports)
  string(TOUPPER ${library} dll)
  list(JOIN imports "\n" exports)
  file(WRITE ${def} "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
  execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --output-delaylib ${out}
    COMMAND_ERROR_IS_FATAL ANY)
  add_library(delay_${library} STATIC IMPORTED GLOBAL)
  set_target_properties(delay_${library} PROPERTIES IMPORTED_LOCATION ${out} INTERFACE_LINK_LIBRARIES delayimp)
endfunction()

foreach(library wininet winmm comdlg32 ole32 oleaut32)
  sonoraflux_delay_import(${library})
endforeach()
