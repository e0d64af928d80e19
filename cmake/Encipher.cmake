# kelvrin_encipher(<target> <input> <output>): enciphers a UTF-8 form or language file at build
# time into the form the widget library reads (*.ui.zr, *.ts.zr), and adds <output> to <target>.
function(kelvrin_encipher target input output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND zrcipher ${input} ${output}
    DEPENDS zrcipher ${input}
    COMMENT "Enciphering ${input}")
  target_sources(${target} PRIVATE ${output})
endfunction()
