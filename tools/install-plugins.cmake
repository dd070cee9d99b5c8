# Run by `cmake --install`: writes the xboard and UCI plugin files, which
# name the wrapper with the prefix of this installation.
foreach(protocol xboard uci)
  set(plugin "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/games/plugins/${protocol}/quorvel.eng")
  message(STATUS "Installing: ${plugin}")
  file(WRITE "${plugin}" "plugin spec 0.0\n${CMAKE_INSTALL_PREFIX}/games/quorvel-user\nchess\n")
endforeach()
