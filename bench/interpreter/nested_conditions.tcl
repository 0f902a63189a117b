# Classification with nested if/else on several conditions, counting into counters.
proc classify {} {
    set fizzbuzz 0
    set fizz 0
    set buzz 0
    set late_ones 0
    set plain 0
    for {set i 1} {$i < 300000} {incr i} {
        set by3 [expr {$i % 3}]
        set by5 [expr {$i % 5}]
        if {$by3 == 0} {
            if {$by5 == 0} {
                incr fizzbuzz
            } else {
                incr fizz
            }
        } else {
            if {$by5 == 0} {
                incr buzz
            } else {
                if {$i > 1000 && $by3 == 1} {
                    incr late_ones
                } else {
                    incr plain
                }
            }
        }
    }
    return "$fizzbuzz:$fizz:$buzz:$late_ones:$plain"
}
puts [classify]
